#include "app/MovieExportDialog.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "editor/EditorSession.h"
#include "editor/PlaybackController.h"
#include "io/MovieFileNames.h"
#include "text/UiText.h"
#include "view/ViewType.h"
#include "view/WindowLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace m3d {

namespace {

QString Text(const char* text) { return QCoreApplication::translate("MovieExportDialog", text); }

// The format list, in the order of MovieKind.
constexpr const char* kFormats[] = {QT_TRANSLATE_NOOP("MovieExportDialog", "PNG（1 フレーム）"),
                                    QT_TRANSLATE_NOOP("MovieExportDialog", "PNG 連番"),
                                    QT_TRANSLATE_NOOP("MovieExportDialog", "WebP アニメーション"),
                                    QT_TRANSLATE_NOOP("MovieExportDialog", "GIF アニメーション"),
                                    QT_TRANSLATE_NOOP("MovieExportDialog", "MP4 動画（H.264）"),
                                    QT_TRANSLATE_NOOP("MovieExportDialog", "WebM 動画（VP9）")};

// A caption at the left of a row and a field of width after it.
template <class Field>
Field* AddField(QDialog& dialog, Field* field, int id, const char* caption, int left, int top, int width)
{
    PlaceInDialogUnits(new QLabel(Text(caption), &dialog), {left, top + 2, 54, 8});
    SetControlId(field, id);
    field->setAccessibleName(Text(caption));
    PlaceInDialogUnits(field, {left + 56, top, width, 12});
    return field;
}

QSpinBox* AddNumber(QDialog& dialog, int id, const char* caption, int left, int top, int minimum, int maximum,
                    int value)
{
    auto* field = AddField(dialog, new QSpinBox(&dialog), id, caption, left, top, 50);
    field->setRange(minimum, maximum);
    field->setValue(value);
    return field;
}

}  // namespace

std::optional<MovieExportChoices> AskMovieExport(const EditorSession& session, const MovieExportChoices* lastRendered,
                                                 QWidget* parent)
{
    MovieExportChoices choices = DefaultMovieExport(session, session.GetScene().addObjectDirectory, lastRendered);
    const Scene& scene = session.GetScene();
    QDialog dialog(parent);
    SetControlId(&dialog, IDD_RENDER_MOVIE);
    dialog.setWindowTitle(Text(QT_TRANSLATE_NOOP("MovieExportDialog", "動画出力")));
    dialog.setFixedSize(DialogUnitsToPixelsX(244), DialogUnitsToPixelsY(156));

    auto* motion = AddField(dialog, new QComboBox(&dialog), IDC_MOVIE_MOTION,
                            QT_TRANSLATE_NOOP("MovieExportDialog", "モーション"), 8, 8, 172);
    for (const Motion& each : scene.Motions()) motion->addItem(QString::fromStdString(each.name));
    motion->setCurrentIndex(choices.motion);

    const int length = scene.MotionAt(choices.motion).length;
    QSpinBox* first = AddNumber(dialog, IDC_MOVIE_FIRST_FRAME, QT_TRANSLATE_NOOP("MovieExportDialog", "最初のフレーム"),
                                8, 26, 0, length, choices.firstFrame);
    QSpinBox* last = AddNumber(dialog, IDC_MOVIE_LAST_FRAME, QT_TRANSLATE_NOOP("MovieExportDialog", "最後のフレーム"),
                               126, 26, 0, length, choices.lastFrame);
    QObject::connect(motion, &QComboBox::currentIndexChanged, &dialog, [&session, &scene, first, last](int index) {
        if (index < 0) return;
        const int frames = scene.MotionAt(index).length;
        first->setRange(0, frames);
        last->setRange(0, frames);
        first->setValue(0);
        last->setValue(MovieLastFrame(session, index));
    });
    QSpinBox* width = AddNumber(dialog, IDC_MOVIE_WIDTH, QT_TRANSLATE_NOOP("MovieExportDialog", "幅"), 8, 42,
                                kMovieSizeMin, kMovieSizeMax, choices.width);
    QSpinBox* height = AddNumber(dialog, IDC_MOVIE_HEIGHT, QT_TRANSLATE_NOOP("MovieExportDialog", "高さ"), 126, 42,
                                 kMovieSizeMin, kMovieSizeMax, choices.height);
    QSpinBox* rate = AddNumber(dialog, IDC_MOVIE_FRAME_RATE, QT_TRANSLATE_NOOP("MovieExportDialog", "frame/sec"), 8, 58,
                               kMinFrameRate, kMaxFrameRate, choices.framesPerSecond);
    auto* view = AddField(dialog, new QComboBox(&dialog), IDC_MOVIE_VIEW,
                          QT_TRANSLATE_NOOP("MovieExportDialog", "カメラ"), 126, 58, 50);
    for (int i = 0; i < ViewState::kViewCount; ++i)
        view->addItem(QStringLiteral("%1: %2").arg(i + 1).arg(ViewTypeName(session.Views().views[i].type)));
    view->setCurrentIndex(choices.view);

    auto* format = AddField(dialog, new QComboBox(&dialog), IDC_MOVIE_FORMAT,
                            QT_TRANSLATE_NOOP("MovieExportDialog", "形式"), 8, 76, 110);
    for (const char* name : kFormats) format->addItem(Text(name));
    auto* transparent = new QCheckBox(Text(QT_TRANSLATE_NOOP("MovieExportDialog", "背景を透明にする")), &dialog);
    SetControlId(transparent, IDC_MOVIE_TRANSPARENT);
    PlaceInDialogUnits(transparent, {176, 77, 64, 10});
    transparent->setChecked(!choices.background);

    auto* path = AddField(dialog, new QLineEdit(QString::fromStdString(choices.path), &dialog), IDC_MOVIE_PATH,
                          QT_TRANSLATE_NOOP("MovieExportDialog", "ファイル"), 8, 94, 132);
    QPushButton* browse = AddButton(&dialog, IDC_MOVIE_BROWSE, Text(QT_TRANSLATE_NOOP("MovieExportDialog", "参照...")),
                                    {198, 93, 42, 14});
    // The format follows the name's extension, and a chosen format renames
    // the file; a format without transparency greys its check box out.
    const auto showKind = [format, transparent](const QString& name) {
        if (const std::optional<MovieKind> kind = MovieKindOf(name.toStdString())) {
            const QSignalBlocker quiet(format);
            format->setCurrentIndex(int(*kind));
            transparent->setEnabled(MovieKindHoldsTransparency(*kind));
        }
    };
    showKind(path->text());
    QObject::connect(path, &QLineEdit::textEdited, &dialog, showKind);
    QObject::connect(format, &QComboBox::activated, &dialog, [path, transparent](int index) {
        path->setText(QString::fromStdString(WithMovieKind(path->text().toStdString(), MovieKind(index))));
        transparent->setEnabled(MovieKindHoldsTransparency(MovieKind(index)));
    });
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, path, showKind] {
        const QString chosen = QFileDialog::getSaveFileName(
            &dialog, Text(QT_TRANSLATE_NOOP("MovieExportDialog", "動画出力")), path->text(),
            Text(QT_TRANSLATE_NOOP("MovieExportDialog", "動画・画像 (*.webp *.gif *.mp4 *.webm *.png)")), nullptr,
            QFileDialog::DontConfirmOverwrite);
        if (chosen.isEmpty()) return;
        path->setText(chosen);
        showKind(chosen);
    });
    PlaceInDialogUnits(
        new QLabel(Text(QT_TRANSLATE_NOOP("MovieExportDialog", "連番の PNG は名前の %04d がフレーム番号になります。")),
                   &dialog),
        {64, 110, 176, 8});

    QPushButton* ok = AddButton(&dialog, IDOK, Text(QT_TRANSLATE_NOOP("MovieExportDialog", "OK")), {136, 134, 50, 14});
    ok->setDefault(true);
    QPushButton* cancel =
        AddButton(&dialog, IDCANCEL, Text(QT_TRANSLATE_NOOP("MovieExportDialog", "ｷｬﾝｾﾙ")), {190, 134, 50, 14});
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        choices.motion = motion->currentIndex();
        choices.firstFrame = first->value();
        choices.lastFrame = last->value();
        choices.width = width->value();
        choices.height = height->value();
        choices.framesPerSecond = rate->value();
        choices.view = view->currentIndex();
        if (transparent->isChecked() && transparent->isEnabled())
            choices.background.reset();
        else
            choices.background = session.Colours()[ColourIndex::Back];
        choices.path = path->text().toStdString();
        if (const std::string refused = CheckMovieExport(session, choices); !refused.empty()) {
            QMessageBox::warning(&dialog, Text(QT_TRANSLATE_NOOP("MovieExportDialog", "動画出力")),
                                 QString::fromStdString(refused));
            return;
        }
        const std::vector<std::string> existing =
            ExistingMovieFiles(choices.path, *MovieKindOf(choices.path), choices.firstFrame, choices.lastFrame);
        if (!existing.empty()) {
            const QString question =
                existing.size() == 1
                    ? QString::fromStdString(
                          WithArguments(UiText("core", "%1は存在しています。上書きしますか？"), {existing[0]}))
                    : Text(QT_TRANSLATE_NOOP("MovieExportDialog",
                                             "%1 など %2 個のファイルが存在しています。上書きしますか？"))
                          .arg(QString::fromStdString(existing[0]))
                          .arg(existing.size());
            if (QMessageBox::question(&dialog, Text(QT_TRANSLATE_NOOP("MovieExportDialog", "動画出力")), question) !=
                QMessageBox::Yes)
                return;
        }
        dialog.accept();
    });
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return choices;
}

}  // namespace m3d
