#include "plceditor/control/sindel_ctrl.h"

#include "plceditor/control/plc_editor_dialog.h"
#include "toolkit/draw/gw_device_context.h"

namespace sindel {

using namespace platform;

CSindelCtrl::CSindelCtrl(ModuleUsage& usage, std::string profile_path) : usage_(usage) {
    usage_.ObjectCreated();
    editor_ = std::make_unique<PlcEditorDialog>(Link(), std::move(profile_path));
}

CSindelCtrl::~CSindelCtrl() {
    editor_.reset();
    usage_.ObjectDestroyed();
}

HRESULT CSindelCtrl::QueryInterface(const IID& iid, void** out) {
    if (iid == IID_IConnectionPointContainer) return AnswerQuery<IConnectionPointContainer>(this, true, out);
    return AnswerQuery<IDispatch>(this, iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID__DSindel, out);
}

uint32_t CSindelCtrl::Release() {
    uint32_t left = refs_.Remove();
    if (left == 0) delete this;
    return left;
}

HRESULT CSindelCtrl::FindConnectionPoint(const IID& events, IConnectionPoint** point) {
    if (point == nullptr) return E_POINTER;
    *point = nullptr;
    if (!(events == DIID__DSindelEvents)) return E_NOINTERFACE;
    *point = &events_;
    events_.AddRef();
    return S_OK;
}

HRESULT CSindelCtrl::Invoke(DISPID member, std::span<VARIANT> args, VARIANT* result) {
    const DispatchMember* method = nullptr;
    HRESULT hr = CheckDispatchCall(kSindelMethods, member, args, &method);
    if (Failed(hr)) return hr;
    // The host may let go of the control from inside one of its events.
    ComPtr<IDispatch> keep_alive = KeepAlive();
    std::string text;
    if (!args.empty()) VariantToText(args[0], &text);
    bool answer = false;
    switch (member) {
        case kPlcCreate:
            answer = editor_->Create();
            break;
        case kPlcSetOnline:
            answer = editor_->SetOnline(true);
            break;
        case kPlcSetOffline:
            answer = editor_->SetOnline(false);
            break;
        case kPlcFileOpen:
            answer = editor_->OpenFromHost(text);
            break;
        case kPlcDestroy:
            answer = editor_->DestroyWindow();
            break;
        case kPlcSetFocus:
            answer = editor_->SetFocus();
            break;
        case kPlcSetTmpFileName:
            tmp_file_name_ = text;
            break;
        case kPlcSetPlcProjPath:
            plc_proj_path_ = text;
            break;
        case kPlcBinaryFileOpen:
            answer = editor_->IsOpen() && editor_->Extensions().ReadProgrammeFile(text);
            break;
        case kPlcSetVersion: {
            double version = 0;
            int32_t length = 0;
            VariantToDouble(args[0], &version);
            VariantToLong(args[1], &length);
            answer = editor_->SetVersion(version, length);
            break;
        }
        default:
            break;
    }
    if (result != nullptr) *result = method->result == VT_EMPTY ? VARIANT() : VariantFromBool(answer);
    return S_OK;
}

void CSindelCtrl::OnDraw(GwDeviceContext& dc, const GwRect& bounds) const {
    dc.fill_rect(bounds.x, bounds.y, bounds.x + bounds.width, bounds.y + bounds.height, "white");
    dc.draw_text(bounds.x + bounds.width / 2.0, bounds.y, "PlcEdit", GwALIGN_CENTER);
}

bool CSindelCtrl::GetTmpFileName(std::string* name) const {
    *name = tmp_file_name_;
    return !name->empty();
}

bool CSindelCtrl::GetPlcProjPath(std::string* path) const {
    *path = plc_proj_path_;
    return !path->empty();
}

ComPtr<IDispatch> CSindelCtrl::KeepAlive() {
    AddRef();
    return ComPtr<IDispatch>::Adopt(this);
}

void CSindelCtrl::Fire(DISPID event, std::span<VARIANT> args) {
    ComPtr<IDispatch> keep_alive = KeepAlive();
    events_.Fire(event, args);
}

void CSindelCtrl::FireText(DISPID event, const std::string& text) {
    VARIANT arg = VariantFromString(text);
    Fire(event, std::span<VARIANT>(&arg, 1));
    VariantClear(&arg);
}

bool CSindelCtrl::FireForPath(DISPID event, std::string* file) {
    ComPtr<IDispatch> keep_alive = KeepAlive();
    *file = events_.FireWithPathBuffer(event);
    return !file->empty();
}

void CSindelCtrl::FirePlcFileToArchiv(const std::string& file) { FireText(kPlcFileToArchiv, file); }
bool CSindelCtrl::FirePlcFileFromArchiv(std::string* file) { return FireForPath(kPlcFileFromArchiv, file); }
void CSindelCtrl::FirePlcOnCancel() { Fire(kPlcOnCancel, {}); }
bool CSindelCtrl::FirePlcFileFromDevice(std::string* file) { return FireForPath(kPlcFileFromDevice, file); }
void CSindelCtrl::FirePlcFileToDevice(const std::string& file) { FireText(kPlcFileToDevice, file); }

void CSindelCtrl::FirePlcUpDateProjName(const std::string& name, bool online) {
    VARIANT args[2] = {VariantFromString(name), VariantFromBool(online)};
    Fire(kPlcUpDateProjName, args);
    VariantClear(&args[0]);
}

}  // namespace sindel
