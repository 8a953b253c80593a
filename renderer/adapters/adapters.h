// The adapters of the widget kinds, one accessor each (see
// renderer/screen_adapter.h); renderer/adapters/adapter_table.cpp picks the
// one for a widget.
#pragma once

#include "renderer/screen_adapter.h"

namespace screen {

const Adapter& FrameWindowAdapter();
const Adapter& DockingPaneAdapter();
const Adapter& DockingContainerAdapter();
const Adapter& ContainerAdapter();
const Adapter& ControlAdapter();
const Adapter& LabelAdapter();
const Adapter& PictureAdapter();
const Adapter& LineEditAdapter();
const Adapter& TextAdapter();
const Adapter& PushButtonAdapter();
const Adapter& ToggleAdapter();
const Adapter& SliderAdapter();
const Adapter& GaugeAdapter();
const Adapter& MenuBarAdapter();
const Adapter& ToolBarAdapter();
const Adapter& ToolAdapter();
const Adapter& MultiListAdapter();
const Adapter& ComboAdapter();
const Adapter& SelectionListAdapter();
const Adapter& ToggleListAdapter();
const Adapter& TreeAdapter();
const Adapter& SheetAdapter();
const Adapter& TabBookAdapter();
const Adapter& ScrolledContainerAdapter();
const Adapter& DrawingAdapter();

}  // namespace screen
