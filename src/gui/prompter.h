// Everything the main window asks the user or shows in a box goes through a Prompter, so a test
// can answer the questions and pick the files without a modal loop.
#pragma once

#include <QString>

#include "gui/latin1_text.h"
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

}  // namespace vex::gui
