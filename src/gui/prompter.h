// Everything the main window asks the user or shows in a box goes through a Prompter, so a test
// can answer the questions and pick the files without a modal loop.
#pragma once

#include <QString>

#include "mainwin/tablecmds.h"

class QWidget;

namespace vex::gui {

enum class Answer { Yes, No, Cancel };

enum class NoticeIcon { Information, Warning, Critical };

class Prompter {
  public:
    virtual ~Prompter() = default;
    // A question with its own title, buttons and icon; OK counts as Yes.
    virtual Answer ask(QWidget* parent, const Question& question) = 0;
    virtual void tell(QWidget* parent, const QString& title, const QString& text,
                      NoticeIcon icon) = 0;
    // File dialogs; an empty result means the user cancelled. `filter` is in the dialog form
    // ("Caption (*.mem);;All Files (*)").
    virtual QString openFileName(QWidget* parent, const QString& caption,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption,
                                 const QString& filter) = 0;
    // As saveFileName, offering `suggested` as the name.
    virtual QString suggestSaveFileName(QWidget* parent, const QString& caption,
                                        const QString& filter, const QString& suggested) {
        (void)suggested;
        return saveFileName(parent, caption, filter);
    }
};

// The real thing: message boxes and the system's file dialogs.
class DialogPrompter : public Prompter {
  public:
    Answer ask(QWidget* parent, const Question& question) override;
    void tell(QWidget* parent, const QString& title, const QString& text, NoticeIcon icon) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& filter) override;
    QString suggestSaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                const QString& suggested) override;
};

// Latin-1 at the boundary between the logic's text and the toolkit's.
inline QString L1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToL1(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace vex::gui
