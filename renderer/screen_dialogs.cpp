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
            RunModalLoop(window);
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
    return RunDialog(dialog) == QDialog::Accepted ? GwRESULT_OK : GwRESULT_CANCEL;
}

QStringList NameFilters(const std::string& filter) {
    // "desc|pattern|desc|pattern|" becomes Qt's "desc (pattern)" list; a
    // filter without a bar is one list of patterns. Patterns keep their '?'
    // and are separated by ';' in the model, by blanks in Qt.
    const QString text = ToScreen(filter);
    auto patternsOf = [](QString patterns) { return patterns.replace(';', ' ').simplified(); };
    QStringList filters;
    if (!text.contains('|')) {
        if (!text.trimmed().isEmpty()) filters << patternsOf(text);
        return filters;
    }
    const QStringList parts = text.split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = patternsOf(parts[i + 1]);
        if (patterns.isEmpty()) continue;
        // Qt reads the patterns from the last brackets of an entry.
        filters << (parts[i].trimmed().isEmpty() ? patterns : parts[i] + " (" + patterns + ")");
    }
    return filters;
}

bool Screen::ChooseFile(const GwFileRequest& request, std::string* path) {
    QFileDialog dialog(ParentWindow(*this, request.parent), ToScreen(request.title));
    dialog.setObjectName("FileDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const QStringList filters = NameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.directory.empty()) dialog.setDirectory(ToScreen(platform::ToNativePath(request.directory)));
    if (!request.preset.empty()) dialog.selectFile(ToScreen(request.preset));
    switch (request.action) {
        case GwFileAction::kFolder:
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly, true);
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            break;
        case GwFileAction::kSave:
            // Qt asks before it replaces an existing file.
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            break;
        case GwFileAction::kOpen:
            dialog.setFileMode(QFileDialog::ExistingFile);
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            break;
    }
    if (RunDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
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
    GwPrintDialogAnswer answer;
    answer.ok = RunDialog(dialog) == QDialog::Accepted;
    answer.copies = copies->value();
    answer.collate = collate->isChecked();
    return answer;
}

}  // namespace screen
