// The device context of a device window: the setup context of its device,
// carried as the user data of the window's frame.
#pragma once

class DeviceSetupContext;
class GwCore;

// The context in the user data of the widget's frame; null when the frame
// carries none.
DeviceSetupContext* DeviceContextOf(const GwCore* widget);
