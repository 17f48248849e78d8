#include "app/MeshOverwriteDialog.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "scene/UserPrompt.h"
#include "view/WindowLayout.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace m3d {

namespace {

// Layout in dialog units: the question over a row of four buttons.
constexpr int kWidth = 220;
constexpr int kMargin = 7;
constexpr int kQuestionLines = 3;  // the least room the question gets, in lines of 8 units
constexpr int kButtonWidth = 46, kButtonHeight = 14, kButtonStep = 51;

// A line may break after every folder separator of a long path.
QString BreakableAtSeparators(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    return out;
}

}  // namespace

MeshOverwriteDialog::MeshOverwriteDialog(const std::string& text, QWidget* parent)
    : QDialog(parent), question(new QLabel(this))
{
    SetControlId(this, IDD_MESH_OVERWRITE);
    setWindowTitle(tr("meshファイル出力"));
    SetControlId(question, IDC_MESH_OVERWRITE_TEXT);
    question->setWordWrap(true);
    question->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    question->setText(BreakableAtSeparators(QString::fromStdString(text)));
    question->setAccessibleName(QString::fromStdString(text));

    const QRect room = DialogUnitsToPixels({kMargin, kMargin, kWidth - 2 * kMargin, 8 * kQuestionLines});
    const int needed = question->heightForWidth(room.width());
    question->setGeometry(room.adjusted(0, 0, 0, std::max(0, needed - room.height())));
    const int buttonTop = question->geometry().bottom() + 1 + DialogUnitsToPixelsY(kMargin);

    const std::pair<int, QString> buttons[] = {{IDC_MESH_OVERWRITE_YES, tr("はい")},
                                               {IDC_MESH_OVERWRITE_YES_TO_ALL, tr("すべてはい")},
                                               {IDC_MESH_OVERWRITE_NO, tr("いいえ")},
                                               {IDC_MESH_OVERWRITE_CANCEL, tr("キャンセル")}};
    const MeshOverwriteAnswer answers[] = {MeshOverwriteAnswer::Yes, MeshOverwriteAnswer::YesToAll,
                                           MeshOverwriteAnswer::No, MeshOverwriteAnswer::Cancel};
    const int firstLeft = kWidth - kMargin - 3 * kButtonStep - kButtonWidth;
    for (int i = 0; i < 4; ++i) {
        QPushButton* button = AddButton(this, buttons[i].first, buttons[i].second,
                                        {firstLeft + i * kButtonStep, 0, kButtonWidth, kButtonHeight});
        button->move(button->x(), buttonTop);
        button->setDefault(i == 0);
        connect(button, &QPushButton::clicked, this, [this, answer = answers[i]] { done(int(answer)); });
    }
    setFixedSize(DialogUnitsToPixelsX(kWidth),
                 buttonTop + DialogUnitsToPixelsY(kButtonHeight) + DialogUnitsToPixelsY(kMargin));
}

void MeshOverwriteDialog::reject() { done(int(MeshOverwriteAnswer::Cancel)); }

}  // namespace m3d
