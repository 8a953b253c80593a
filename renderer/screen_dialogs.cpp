// Boxes, file selectors and the print dialog on the screen.
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/files/paths.h"
#include "renderer/screen_renderer.h"
#include "renderer/screen_text.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_screen.h"

namespace screen {
namespace {

// The window the box or dialog belongs to.
QWidget* ParentWindow(const Screen& screen, const std::string& identifier) {
    for (const auto& [widget, shown] : screen.All()) {
        if (GwRcMgr::is_valid_child(widget) && widget->identifier() == identifier && shown.widget)
            return shown.widget->window();
    }
    GwCore* active = GwActiveWindow();
    const Shown* shown = active != nullptr ? screen.Find(active) : nullptr;
    return shown != nullptr && shown->widget ? shown->widget.data() : nullptr;
}

// Runs a dialog of the renderer's own in Qt's loop, so the toolkit's timers
// keep running while it is up; a close through the window manager rejects.
int RunDialog(Screen& screen, QDialog& dialog) {
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    screen.RunUntil([&dialog] { return !dialog.isVisible(); });
    return dialog.result();
}

// The box window that the model shows for `box`: the visible one of that
// definition in a modal run, the newest first.
GwCore* BoxWindow(const Screen& screen, const GwBoxRecord& box) {
    GwCore* found = nullptr;
    for (GwCore* frame : GwStackingOrder()) {
        if (frame->definition_name() == box.window && frame->in_modal_run() && frame->is_shown()) found = frame;
    }
    if (found != nullptr) return found;
    for (const auto& [widget, shown] : screen.All()) {
        if (GwRcMgr::is_valid_child(widget) && widget->is_frame() && widget->definition_name() == box.window &&
            widget->in_modal_run())
            found = widget;
    }
    return found;
}

}  // namespace

int Screen::AnswerBox(const GwBoxRecord& box) {
    if (!box.window.empty()) {
        // The model's box window is on the screen; its buttons end the run
        // with their codes, a close through the window manager or Escape
        // with cancel.
        GwAnnounceCreatedWidgets();
        GwCore* window = BoxWindow(*this, box);
        if (window != nullptr) {
            FlagScope pump(inPump_, false);
            FlagScope events(inProcessEvents_, false);
            RunUntil([window] { return !window->is_alive() || window->modal_ended() || !window->is_shown(); });
            return window->is_alive() && window->modal_ended() ? window->result() : GwRESULT_CANCEL;
        }
    }
    // A box from a record only (GwMessageBox, the system box): OK, or
    // cancel when closed.
    QDialog dialog(ParentWindow(*this, box.parent));
    dialog.setWindowTitle(ToScreen(box.caption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLabel(ToScreen(box.text), &dialog);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    FlagScope pump(inPump_, false);
    FlagScope events(inProcessEvents_, false);
    return RunDialog(*this, dialog) == QDialog::Accepted ? GwRESULT_OK : GwRESULT_CANCEL;
}

bool Screen::ChooseFile(const GwFileRequest& request, std::string* path) {
    QFileDialog dialog(ParentWindow(*this, request.parent), ToScreen(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // "desc|pattern|desc|pattern|" becomes Qt's "desc (pattern)" list.
    QStringList filters;
    const QStringList parts = ToScreen(request.filter).split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty()) continue;
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << parts[i] + " (" + patterns + ")";
    }
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.directory.empty()) dialog.setDirectory(ToScreen(platform::ToNativePath(request.directory)));
    if (!request.preset.empty()) dialog.selectFile(ToScreen(request.preset));
    const bool save = request.id == "id" ? request.mode == 1 : request.mode == 0;
    if (request.folder_mode) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
    } else {
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    }
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    FlagScope pump(inPump_, false);
    FlagScope events(inProcessEvents_, false);
    if (RunDialog(*this, dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    *path = FromScreen(QDir::toNativeSeparators(dialog.selectedFiles().first()));
    return true;
}

GwPrintDialogAnswer Screen::AnswerPrintDialog(const GwPrintDialogRequest& request) {
    QDialog dialog(ParentWindow(*this, request.parent));
    dialog.setObjectName("PrintDialog");
    dialog.setWindowTitle("Print");
    auto* form = new QFormLayout(&dialog);
    auto* copies = new QSpinBox(&dialog);
    copies->setRange(1, 99);
    copies->setValue(1);
    auto* collate = new QCheckBox(&dialog);
    form->addRow("Copies", copies);
    form->addRow("Collate", collate);
    const QString folder = ToScreen(request.output_directory.empty() ? std::string(".") : request.output_directory);
    form->addRow("Folder", new QLabel(folder, &dialog));
    form->addRow("File", new QLabel(ToScreen(request.file_name), &dialog));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("PrintOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("PrintCancel");
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    FlagScope pump(inPump_, false);
    FlagScope events(inProcessEvents_, false);
    GwPrintDialogAnswer answer;
    answer.ok = RunDialog(*this, dialog) == QDialog::Accepted;
    answer.copies = copies->value();
    answer.collate = collate->isChecked();
    return answer;
}

}  // namespace screen
