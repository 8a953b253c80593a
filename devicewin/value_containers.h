// Containers and pictures that follow the value of one parameter: a radio
// group shows the container of its set button, a check box the container it
// names, a combo box the container or picture named after its value
// (parameter name + "_" + value text).
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

int CB_DvFctShowToggleContainer(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DvFctShowSwitch(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DvFctShowComboboxContainer(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DvFctParaChangeComboboxContainer(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DvFctShowComboboxPicture(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DvFctShowComboboxContainerAndPicture(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DvFctParaChangeComboboxContainerAndPicture(GwCore* widget, GwEvent* event, GwUD userData);
