#include "platform/qt/qt_platform.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QStringList>

namespace verada {
namespace {

QWidget* widget(WindowHandle handle) {
    return static_cast<QWidget*>(handle);
}

QString qs(const std::string& text) {
    return QString::fromLocal8Bit(text.c_str());
}

// "Spore GMDL Files (*.gmdl)" with "*.gmdl" becomes "Spore GMDL Files (*.gmdl)" for Qt; the
// patterns use ";" between globs where Qt wants blanks.
QString filterText(const FileFilter& filter) {
    QString patterns = qs(filter.pattern).replace(';', ' ');
    QString text = qs(filter.text);
    int paren = text.indexOf('(');
    QString label = paren >= 0 ? text.left(paren).trimmed() : text;
    return label + " (" + patterns + ")";
}

class DialogProgress : public Progress {
  public:
    DialogProgress(QWidget* owner, const QString& label)
        : dialog_(label, QString(), 0, 1000, owner) {
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(500);
        dialog_.setCancelButton(nullptr);
        dialog_.setAutoClose(false);
        timer_.start();
    }
    void update(std::uint64_t done, std::uint64_t total) override {
        // Repainting on every item would cost more than small items take to unpack.
        if (timer_.elapsed() < 50 && done < total) {
            return;
        }
        timer_.restart();
        int value = total == 0 ? 1000 : static_cast<int>(done * 1000 / total);
        dialog_.setValue(value);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

  private:
    QProgressDialog dialog_;
    QElapsedTimer timer_;
};

}  // namespace

int QtPlatform::messageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                           MessageButtons buttons, MessageIcon icon) {
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    if (icon == MessageIcon::Warning) {
        qtIcon = QMessageBox::Warning;
    } else if (icon == MessageIcon::Information) {
        qtIcon = QMessageBox::Information;
    }
    QMessageBox box(qtIcon, qs(caption), qs(text),
                    buttons == MessageButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                        : QMessageBox::Ok,
                    widget(owner));
    return box.exec() == QMessageBox::Ok ? kMessageOk : kMessageCancel;
}

std::optional<std::string> QtPlatform::fileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(nullptr, qs(request.title), qs(request.initialDirectory));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList filters;
    for (const FileFilter& filter : request.filters) {
        filters << filterText(filter);
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(qs(request.defaultExtension));
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toLocal8Bit().toStdString();
}

std::optional<std::uint32_t> QtPlatform::chooseColor(WindowHandle owner, std::uint32_t initial,
                                                     std::array<std::uint32_t, 16>& customColors) {
    auto toQColor = [](std::uint32_t c) { return QColor(c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF); };
    auto fromQColor = [](const QColor& c) {
        return static_cast<std::uint32_t>(c.red() | c.green() << 8 | c.blue() << 16);
    };
    for (int i = 0; i < QColorDialog::customCount() && i < 16; ++i) {
        QColorDialog::setCustomColor(i, toQColor(customColors[i]));
    }
    QColorDialog dialog(toQColor(initial), widget(owner));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    bool accepted = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < QColorDialog::customCount() && i < 16; ++i) {
        customColors[i] = fromQColor(QColorDialog::customColor(i));
    }
    if (!accepted) {
        return std::nullopt;
    }
    return fromQColor(dialog.selectedColor());
}

std::unique_ptr<Progress> QtPlatform::startProgress(WindowHandle owner, const std::string& label) {
    return std::make_unique<DialogProgress>(widget(owner), qs(label));
}

ProgramRun QtPlatform::startProgram(const std::vector<std::string>& arguments, bool wait) {
    if (wait || arguments.empty()) {
        return system_.startProgram(arguments, wait);
    }
    QProcess process;
    process.setProgram(qs(arguments[0]));
    QStringList rest;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        rest << qs(arguments[i]);
    }
    process.setArguments(rest);
    if (!process.startDetached()) {
        return {false, process.errorString().toLocal8Bit().toStdString(), 0};
    }
    return {true, "", 0};
}

bool QtPlatform::openWithDefaultViewer(const std::string& path) {
    return system_.openWithDefaultViewer(path);
}

int QtPlatform::globalMemoryLoad() {
    return system_.globalMemoryLoad();
}

std::chrono::system_clock::time_point QtPlatform::currentTime() {
    return system_.currentTime();
}

}  // namespace verada
