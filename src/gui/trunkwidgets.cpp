#include "gui/trunkwidgets.h"

#include <QLineEdit>

namespace vex::gui {

void KeepOnlyAccepted(QLineEdit* field, std::function<bool(unsigned char)> accepted) {
    QObject::connect(field, &QLineEdit::textEdited, field,
                     [field, accepted = std::move(accepted)](const QString& text) {
                         QString kept;
                         int cursor = field->cursorPosition();
                         for (int i = 0; i < text.size(); ++i) {
                             const char16_t c = text[i].unicode();
                             if (c <= 0xFF && accepted(static_cast<unsigned char>(c))) {
                                 kept += text[i];
                             } else if (i < field->cursorPosition()) {
                                 --cursor;
                             }
                         }
                         if (kept == text) return;
                         field->setText(kept);
                         field->setCursorPosition(std::max(0, cursor));
                     });
}

}  // namespace vex::gui
