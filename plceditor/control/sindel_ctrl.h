// CSindelCtrl: the control object that a host creates by class id. It answers
// the methods of _DSindel by dispatch number, fires the events of
// _DSindelEvents through its connection point, keeps the programme file name
// and project path the host gives it, and owns its one editor object.
#pragma once

#include <memory>
#include <string>

#include "platform/com/com_objects.h"
#include "plceditor/control/control_link.h"
#include "plceditor/interface/sindel_ids.h"

class GwDeviceContext;
struct GwRect;

namespace sindel {

class PlcEditorDialog;

class CSindelCtrl final : public platform::IDispatch, public platform::IConnectionPointContainer, private ControlLink {
public:
    static constexpr char kDefaultTmpFileName[] = "PlcTmp.txt";
    static constexpr char kDefaultPlcProjPath[] = "C:\\";

    // `usage` counts the living objects of the module.
    CSindelCtrl(platform::ModuleUsage& usage, std::string profile_path);

    platform::HRESULT QueryInterface(const platform::IID& iid, void** out) override;
    uint32_t AddRef() override { return refs_.Add(); }
    uint32_t Release() override;
    platform::HRESULT Invoke(platform::DISPID member, std::span<platform::VARIANT> args,
                             platform::VARIANT* result) override;
    platform::HRESULT FindConnectionPoint(const platform::IID& events, platform::IConnectionPoint** point) override;

    PlcEditorDialog& Editor() { return *editor_; }
    // Draws the control: white, with "PlcEdit" centred at the top. At run
    // time the control is invisible and only its editor window shows.
    void OnDraw(GwDeviceContext& dc, const GwRect& bounds) const;
    // The editor's view of the control.
    ControlLink& Link() { return *this; }

private:
    ~CSindelCtrl() override;

    bool GetTmpFileName(std::string* name) const override;
    bool GetPlcProjPath(std::string* path) const override;
    void FirePlcFileToArchiv(const std::string& file) override;
    bool FirePlcFileFromArchiv(std::string* file) override;
    void FirePlcOnCancel() override;
    bool FirePlcFileFromDevice(std::string* file) override;
    void FirePlcFileToDevice(const std::string& file) override;
    void FirePlcUpDateProjName(const std::string& name, bool online) override;

    // A reference that keeps the control alive while its events run: the
    // host may let go of it from inside one.
    platform::ComPtr<platform::IDispatch> KeepAlive();
    void Fire(platform::DISPID event, std::span<platform::VARIANT> args);
    void FireText(platform::DISPID event, const std::string& text);
    bool FireForPath(platform::DISPID event, std::string* file);

    platform::ModuleUsage& usage_;
    platform::RefCount refs_;
    platform::ConnectionPoint events_{*static_cast<platform::IDispatch*>(this), DIID__DSindelEvents};
    std::string tmp_file_name_ = kDefaultTmpFileName;
    std::string plc_proj_path_ = kDefaultPlcProjPath;
    std::unique_ptr<PlcEditorDialog> editor_;
};

}  // namespace sindel
