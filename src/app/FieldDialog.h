#pragma once

#include "editor/FieldRules.h"

#include <QDialog>

#include <functional>
#include <string>

class QLineEdit;
class QPushButton;

namespace m3d {

class UpDownControl;

// A modal dialog of one edit field with "OK" and "ｷｬﾝｾﾙ". OK (or Enter)
// closes it only when check accepts the field's text; a refused text shows
// the check's message and the dialog stays open with the field selected.
class FieldDialog : public QDialog {
    Q_OBJECT
public:
    // check reads the text into the caller's value when it accepts it.
    using Check = std::function<FieldCheck(const std::string& text)>;

    FieldDialog(int templateId, const QString& caption, int fieldId, const QString& fieldName, Check check,
                QWidget* parent);

    QLineEdit* Field() const { return field; }
    // Gives the OK button another text and a control number.
    void SetOkButton(int id, const QString& text);
    // Puts updown at the right end of the field, as its buddy.
    void AttachUpDown(UpDownControl* updown, int id, int position);

    void accept() override;

private:
    QLineEdit* field;
    QPushButton* ok;
    Check check;
};

}  // namespace m3d
