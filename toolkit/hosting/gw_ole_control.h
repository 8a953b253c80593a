// Hosting of controls that live in loadable modules (the PLC editor control):
// the program's wrapper object (`GwComObject` / `GwOleControlWrapper`), which
// registers itself by name when constructed and names the control's class
// id, and the OLE-control widget, which creates the control's object when its
// window is loaded, calls its methods by dispatch number, and hands its
// events to the callbacks bound to the event names. A control whose object
// cannot be made stays empty: its calls fail and its wrapper's calls return
// FALSE.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/com/com_interfaces.h"
#include "platform/com/com_objects.h"
#include "toolkit/core/gw_core.h"

class GwOleControl;

class GwComObject {
public:
    // Registers the object under `name`, the name an OLE-control slot of a
    // definition file gives ("wrapper = PlcEditorX"). A later object of the
    // same name takes the name over.
    explicit GwComObject(const std::string& name);
    virtual ~GwComObject();
    GwComObject(const GwComObject&) = delete;
    GwComObject& operator=(const GwComObject&) = delete;

    // The class id, as text "{...}", of the object the toolkit creates for it.
    virtual std::string GetClassId() const = 0;
    const std::string& name() const { return name_; }

    // The registered object of that name, or null.
    static GwComObject* find(const std::string& name);

private:
    std::string name_;
};

class GwOleControlWrapper : public GwComObject {
public:
    using GwComObject::GwComObject;
    ~GwOleControlWrapper() override;

    // The control bound by GwOleControl::set_wrapper, or null.
    GwOleControl* control() const { return control_; }
    // A method by dispatch number, arguments in their natural order. E_FAIL
    // without a bound control that holds an object.
    platform::HRESULT Invoke(platform::DISPID id, std::span<platform::VARIANT> args, platform::VARIANT* result);
    // A method with a BOOL result; FALSE when the call fails. The arguments
    // are cleared afterwards.
    platform::BOOL InvokeBool(platform::DISPID id, std::vector<platform::VARIANT> args = {});
    // A method without result; false when the call fails.
    bool InvokeVoid(platform::DISPID id, std::vector<platform::VARIANT> args = {});

private:
    friend class GwOleControl;
    GwOleControl* control_ = nullptr;
};

// The arguments of a control event, in the GwEvent's data; a callback may
// rewrite arguments passed by reference before it returns.
struct GwOleEventArgs {
    platform::VARIANT* args = nullptr;
    int count = 0;
};
// Argument `index` of a control event; null out of range or for other events.
platform::VARIANT* GwOleEventArgument(const GwEvent* event, int index);

// The names of a control class's events, by dispatch number, and the event
// interface to connect to. The toolkit knows no control's events of its own:
// the host registers those of each control it places, before the window
// that holds the control is loaded.
void GwRegisterControlEvents(const platform::CLSID& clsid, const platform::IID& events,
                             std::span<const platform::DispatchMember> members);

class GwOleControl : public GwCore {
public:
    GwOleControl(const std::string& name, GwCore* parent);

    // Binds the control to the program's wrapper (null unbinds); the wrapper's
    // calls then reach this control's object.
    void set_wrapper(GwOleControlWrapper* wrapper);
    GwOleControlWrapper* wrapper() const { return wrapper_; }

    // Creates the object of a registered class and connects to its events;
    // false, the control empty, when it cannot.
    bool create_object(const platform::CLSID& clsid);
    bool has_object() const { return static_cast<bool>(object_); }
    platform::IDispatch* object() const { return object_.Get(); }
    platform::HRESULT invoke(platform::DISPID id, std::span<platform::VARIANT> args, platform::VARIANT* result);

    // Creates the object named by the definition's slot: "class_id" or the
    // wrapper named by "wrapper".
    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwOleControl() override;
    void on_destroyed() override;

private:
    class EventSink;
    friend class EventSink;
    friend class GwOleControlWrapper;
    void Release();

    GwOleControlWrapper* wrapper_ = nullptr;
    platform::ComPtr<platform::IDispatch> object_;
    EventSink* sink_ = nullptr;  // one reference held
    platform::IID events_{};
    uint32_t cookie_ = 0;
};
