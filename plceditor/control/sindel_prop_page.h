// CSindelPropPage: the control's one property page, "General". It shows an
// empty page and exchanges no properties; a host may create it by class id.
#pragma once

#include <string_view>

#include "platform/com/com_objects.h"

namespace sindel {

class CSindelPropPage final : public platform::IUnknown {
public:
    static constexpr int kDialogId = 200;
    static constexpr int kWidthDialogUnits = 250;
    static constexpr int kHeightDialogUnits = 62;
    static constexpr char kHelpCaption[] = "Names to appear in the control";
    static constexpr char kHelpFile[] = "SINDEL.HLP";

    explicit CSindelPropPage(platform::ModuleUsage& usage);

    platform::HRESULT QueryInterface(const platform::IID& iid, void** out) override;
    uint32_t AddRef() override { return refs_.Add(); }
    uint32_t Release() override;

    // The page's caption (string 200).
    static std::string_view Caption();

private:
    ~CSindelPropPage() override { usage_.ObjectDestroyed(); }

    platform::ModuleUsage& usage_;
    platform::RefCount refs_;
};

}  // namespace sindel
