#pragma once

#include "editor/CommandHost.h"

#include <QDialog>

#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;

namespace m3d {

class EditorSession;

// The motion name dialog (template 213): a name and "現在のモーションを複製".
// "決定" and Enter close it only with a name ValidateMotionName accepts
// (result 1, or 2 with the box ticked); "キャンセル" gives 0; Escape does nothing.
class MotionNameDialog : public QDialog {
    Q_OBJECT
public:
    MotionNameDialog(const EditorSession& session, QWidget* parent);

    std::string Name() const;
    void accept() override;
    void reject() override {}

private:
    const EditorSession& session;
    QLineEdit* name;
    QCheckBox* duplicate;
};

// The motion name dialog's answer; none when cancelled.
std::optional<MotionNameAnswer> AskMotionName(const EditorSession& session, QWidget* parent);
// Asks for the current Motion's new length (template 214); none when cancelled.
std::optional<int> AskMotionLength(int length, QWidget* parent);

}  // namespace m3d
