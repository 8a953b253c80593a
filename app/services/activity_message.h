// Activity and progress windows around long operations: the window lives as
// long as the object made on the caller's stack, and only one is open at a
// time. ProgressMessage also serves as a BasicSlider.
#pragma once

#include "app/services/basic_slider.h"
#include "parameters/values/dstring.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_ref.h"

class GwCore;
class GwSlider;

// Window definitions.
inline constexpr char kAnimatedStateMessage[] = "AnimatedStateMessage";
inline constexpr char kNonAnimatedStateMessage[] = "NonAnimatedStateMessage";
inline constexpr char kProgressMessageWindow[] = "ProgressMessage";
inline constexpr char kNonAnimatedProgressMessage[] = "NonAnimatedProgressMessage";
// Interval of the animation's replay timer, in milliseconds.
inline constexpr unsigned kAnimationReplayMs = 4000;
// Wait after closing a window, without processing events, in milliseconds.
inline constexpr unsigned kActivityCloseWaitMs = 1000;

class BaseActivMessage {
public:
    // Shows activity message `number` (its text with " ...").
    virtual void ShowMessage(int number);
    virtual void SetMessageString(const dstring& text);
    virtual void ShowText(const char* text);
    virtual void SetMessageText(const char* text);
    // Text of "AM_%05u" in "Activ-Messages" followed by " ...", in one static
    // buffer that the next call overwrites.
    virtual const char* GetActivMessageText(int number);

    // Closes the window, restores the cursor and enables the owner again.
    virtual ~BaseActivMessage();

    BaseActivMessage(const BaseActivMessage&) = delete;
    BaseActivMessage& operator=(const BaseActivMessage&) = delete;

    // The window, null when none could be opened.
    GwCore* Window() const { return window_; }
    GwCore* Owner() const { return owner_; }

protected:
    BaseActivMessage() = default;
    // Opens the window `definition` over `owner` (the main window when null or
    // invalid) with `text`, unless another activity window is open.
    void Create(const char* text, GwCore* owner, const char* definition, bool animationsOff);

    GwRef<> window_;
    // Whether this object opened a window (which may be gone since).
    bool opened_ = false;
    int savedCursor_ = 0;
    bool animationsOff_ = false;
    GwRef<> owner_;
    bool ownerDisabled_ = false;
};

class ActivMessage : public BaseActivMessage {
public:
    ActivMessage(int number, GwCore* owner = nullptr);
    // The text as given, without " ...".
    ActivMessage(const char* text, GwCore* owner = nullptr);
};

class ProgressMessage : public BaseActivMessage, public BasicSlider {
public:
    // The indicator runs from 0 to `maximum`.
    ProgressMessage(int number, double maximum, GwCore* owner = nullptr);
    ProgressMessage(const char* text, double maximum, GwCore* owner = nullptr);

    // Moves the indicator; a windowless object first tries to open its window.
    virtual void SetValue(double value);

    void SetMinimum(unsigned n) override;
    void SetMaximum(unsigned n) override;
    void SetStep(unsigned step) override;
    void SetValue(unsigned value) override;
    void StepIt() override;
    void StepBy(unsigned n) override;
    int GetValue() override;
    int GetMinimum() override;
    int GetMaximum() override;
    int GetStep() override;

private:
    void CreateProgress();

    int step_ = 1;
    GwRef<GwSlider> indicator_;
    dstring text_;
    double maximum_ = 0.0;
    GwRef<> givenOwner_;
};

// Timer callback of the "WaitIcon" media widget: replays the animation while
// the window can be seen, else stops its timer. 1 when it replayed.
int CB_Info_StartVideo(GwCore* widget, GwEvent* event, GwUD userData);
