#include "app/VersionDialog.h"

#include "app/CommandIds.h"
#include "view/WindowLayout.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace m3d {

namespace {
constexpr int kWidthUnits = 187;
constexpr int kHeightUnits = 90;
constexpr const char* kWebAddress = "https://marionettica3d.example.org/";
}  // namespace

VersionDialog::VersionDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(IdName(IDD_ABOUT));
    setWindowTitle(tr("バージョン情報"));
    // The dialog's size in dialog units; a larger system font may need more height.
    setFixedWidth(DialogUnitsToPixelsX(kWidthUnits));
    setMinimumHeight(DialogUnitsToPixelsY(kHeightUnits));

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setAutoFillBackground(true);
    QPalette black = frame->palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    frame->setPalette(black);
    auto* inside = new QVBoxLayout(frame);
    inside->setSpacing(2);
    for (const QString& text :
         {QStringLiteral("Marionettica3D"), QStringLiteral("Ver1.0.0"), tr("ポーズとアニメーションのエディタ")}) {
        auto* label = new QLabel(text, frame);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        inside->addWidget(label);
    }
    auto* address = new QLineEdit(frame);
    address->setObjectName(IdName(IDC_ABOUT_ADDRESS));
    address->setReadOnly(true);
    address->setAlignment(Qt::AlignCenter);
    address->setText(QString::fromLatin1(kWebAddress));
    inside->addWidget(address);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(frame);
    layout->addWidget(buttons);
}

}  // namespace m3d
