#include "plceditor/control/sindel_prop_page.h"

#include "plceditor/control/sindel_strings.h"

namespace sindel {

using namespace platform;

CSindelPropPage::CSindelPropPage(ModuleUsage& usage) : usage_(usage) { usage_.ObjectCreated(); }

HRESULT CSindelPropPage::QueryInterface(const IID& iid, void** out) {
    return AnswerQuery<IUnknown>(this, iid == IID_IUnknown, out);
}

uint32_t CSindelPropPage::Release() {
    uint32_t left = refs_.Remove();
    if (left == 0) delete this;
    return left;
}

std::string_view CSindelPropPage::Caption() { return LoadString(ids::kPropPageCaption); }

}  // namespace sindel
