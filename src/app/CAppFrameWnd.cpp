#include "app/CAppFrameWnd.h"

#include "app/CommandIds.h"
#include "app/ExportGltfDialog.h"
#include "app/ExportXDialogs.h"
#include "app/GridWidthDialog.h"
#include "app/PartCommandDialogs.h"
#include "app/ScaleDialog.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "editor/MotionCommands.h"
#include "editor/PartCommands.h"
#include "editor/PoseCommands.h"
#include "scene/ProjectFile.h"
#include "text/UiText.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>

#include <cstdio>
#include <new>

CAppFrameWnd::CAppFrameWnd(AppEnvironment environment) : form(new CAppForm(std::move(environment), this))
{
    setObjectName(IdName(IDR_MAINFRAME));
    setCentralWidget(form);
    BuildMenu();
    AddShortcuts();
    subscription = form->Session().Events().Subscribe([this](const EditorEvent& event) {
        if (ChangesCommandState(event)) RefreshMenuStates();
    });
    RefreshMenuStates();
}

CAppFrameWnd::~CAppFrameWnd() { OnDestroy(); }

QAction* CAppFrameWnd::Action(int id) const
{
    auto found = actions.find(id);
    return found != actions.end() ? found->second : nullptr;
}

QAction* CAppFrameWnd::AddCommand(QMenu* menu, int id, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(IdName(id));
    // Commands whose dialogs and operations come later stay visible but disabled.
    action->setEnabled(false);
    actions[id] = action;
    return action;
}

void CAppFrameWnd::BuildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(IdName(IDR_MAINFRAME) + QStringLiteral("_menu"));

    QMenu* file = fileMenu = bar->addMenu(tr("&File"));
    connect(file, &QMenu::aboutToShow, this, &CAppFrameWnd::RefreshRecentProjects);
    AddCommand(file, ID_FILE_NEW, tr("新規作成（&N）"));
    AddCommand(file, ID_FILE_OPEN, tr("開く（&O）"));
    AddCommand(file, ID_FILE_SAVE, tr("上書き保存（S）"));
    AddCommand(file, ID_FILE_SAVE_AS, tr("名前を付けて保存（&A）"));
    file->addSeparator();
    QMenu* preferences = file->addMenu(tr("環境設定（&C）"));
    AddCommand(preferences, ID_COLOR_CHANGE, tr("色の変更"));
    file->addSeparator();
    AddCommand(file, ID_APP_EXIT, tr("E&xit"));

    QMenu* parts = bar->addMenu(tr("&Parts"));
    AddCommand(parts, ID_PARTS_ADD, tr("追加（&A）"));
    AddCommand(parts, ID_PARTS_DELETE, tr("削除（&D）"));
    AddCommand(parts, ID_PARTS_SWAP, tr("入れ替え（&C）"));
    AddCommand(parts, ID_PARTS_ADD_MIRRORED, tr("反転して追加（&R）"));
    AddCommand(parts, ID_PARTS_SYMMETRY, tr("対称関係（&S）"));

    QMenu* option = bar->addMenu(tr("&Option"));
    AddCommand(option, ID_LIGHT_FROM_FRONT, tr("正面から照らす（&F）"));
    option->addSeparator();
    AddCommand(option, ID_GRID_WIDTH, tr("グリッドの幅を変更（&C）"));
    AddCommand(option, ID_MODEL_SCALE, tr("スケールの調整（&S）"));
    option->addSeparator();
    AddCommand(option, ID_POSE_MIRROR, tr("左右逆のポーズにする（&R）"));
    AddCommand(option, ID_POSE_GROUND, tr("全オブジェクトの一番下を地面に合わせる（&G）"));
    AddCommand(option, ID_POSE_LEVEL, tr("選択オブジェクトを水平にする（&H）"));
    option->addSeparator();
    AddCommand(option, ID_EXPORT_XFILE, tr("Xファイル出力（&X）"));
    AddCommand(option, ID_EXPORT_GLTF, tr("glTF出力（&T）"));
    QMenu* extra = option->addMenu(tr("追加機能（&A）"));
    AddCommand(extra, ID_MOTION_DELETE_REDUNDANT_KEYS, tr("余計なキーを削除（&D）"));
    AddCommand(extra, ID_MOTION_MIRROR, tr("左右逆のモーションにする（&M）"));
    AddCommand(extra, ID_MOTION_GROUND, tr("全てのキーフレームで一番下を地面に合わせる（&A）"));
    AddCommand(extra, ID_MOTION_LEVEL, tr("選択オブジェクトを全てのキーフレームで水平にする（&L）"));
    AddCommand(extra, ID_MOTION_TURN_Z, tr("モーションをZ方向に反転させる（&Z）"));

    QMenu* help = bar->addMenu(tr("&Help"));
    AddCommand(help, ID_HELP_CONTENTS, tr("目次（&M）"));
    AddCommand(help, ID_HELP_GUIDE, tr("ユーザーガイド（&G）"));
    AddCommand(help, ID_APP_ABOUT, tr("バージョン情報（&A）"));

    for (MenuHandler& handler : MenuHandlers()) {
        QAction* action = actions.at(handler.id);
        commandOf[handler.id] = handler.command;
        // A command that runs out of memory is reported; every save is
        // atomic, so the files on disk are as they were before it.
        connect(action, &QAction::triggered, this, [this, run = std::move(handler.run)] {
            try {
                run();
            } catch (const std::bad_alloc&) {
                QMessageBox::warning(this, tr("Error"),
                                     tr("メモリが足りないため、処理を中止しました。"));
            }
        });
    }
    const std::pair<int, QKeySequence> shortcuts[] = {
        {ID_FILE_NEW, QKeySequence::New},         {ID_FILE_OPEN, QKeySequence::Open},
        {ID_FILE_SAVE, QKeySequence::Save},       {ID_FILE_SAVE_AS, QKeySequence(QStringLiteral("Ctrl+Shift+S"))},
        {ID_APP_EXIT, QKeySequence(QStringLiteral("Ctrl+Q"))},
    };
    for (const auto& [id, keys] : shortcuts) actions.at(id)->setShortcut(keys);
}

std::vector<CAppFrameWnd::MenuHandler> CAppFrameWnd::MenuHandlers()
{
    using C = EditorCommand;
    EditorSession& session = form->Session();
    return {
        {ID_FILE_NEW, C::NewProject, [this, &session] { NewProject(session, prompt); }},
        {ID_FILE_OPEN, C::OpenProject, [this] { OpenProjectFromDialog(); }},
        {ID_FILE_SAVE, C::SaveProject, [this, &session] { SaveCommand(session, prompt); }},
        {ID_FILE_SAVE_AS, C::SaveProjectAs, [this, &session] { SaveAsCommand(session, prompt); }},
        {ID_COLOR_CHANGE, C::ColourSettings, [this] { form->ChangeColours(); }},
        {ID_APP_EXIT, std::nullopt, [this] { close(); }},
        // Parts panel commands.
        {ID_PARTS_ADD, C::AddPart, [this, &session] { AddObjectFromDialog(session, this); }},
        {ID_PARTS_DELETE, C::DeletePart, [&session] { DeleteCurrentPart(session); }},
        {ID_PARTS_SWAP, C::SwapPart, [this, &session] { SwapObjectFromDialog(session, this); }},
        {ID_PARTS_ADD_MIRRORED, C::AddMirroredPart, [this, &session] { AddMirroredPartFromDialog(session, this); }},
        {ID_PARTS_SYMMETRY, C::SymmetrySettings, [this, &session] { EditSymmetry(session, this); }},
        {ID_LIGHT_FROM_FRONT, C::LightFromFront, [this] { form->LightFromFront(); }},
        {ID_GRID_WIDTH, C::GridWidth, [this] { ChangeGridWidth(*form); }},
        {ID_MODEL_SCALE, C::ModelScale, [this, &session] { AdjustModelScale(session, this); }},
        {ID_POSE_MIRROR, C::MirrorPose, [&session] { MirrorPoseCommand(session); }},
        {ID_POSE_GROUND, C::DropToGround, [&session] { DropToGroundCommand(session); }},
        {ID_POSE_LEVEL, C::LevelPart, [&session] { LevelCurrentPart(session); }},
        // DirectX export and the whole-motion commands.
        {ID_EXPORT_XFILE, C::ExportX, [this, &session] {
             SettingsValues& remembered = form->Settings();
             ExportXFromDialogs(session, remembered.exportXFileDirectory, remembered.timeScaleFactor, this);
         }},
        {ID_EXPORT_GLTF, C::ExportGltf, [this, &session] {
             ExportGltfFromDialog(session, form->Settings().exportGltfDirectory, form->FrameRate(), this);
         }},
        {ID_MOTION_DELETE_REDUNDANT_KEYS, C::DeleteRedundantKeys, [&session] { DeleteRedundantKeysCommand(session); }},
        {ID_MOTION_MIRROR, C::MirrorMotion, [&session] { MirrorMotionCommand(session); }},
        {ID_MOTION_GROUND, C::GroundAllKeyframes, [&session] { GroundAllKeyframesCommand(session); }},
        {ID_MOTION_LEVEL, C::LevelPartInAllKeyframes, [&session] { LevelPartInAllKeyframesCommand(session); }},
        {ID_MOTION_TURN_Z, C::TurnMotionAround, [&session] { TurnMotionAroundCommand(session); }},
        {ID_HELP_CONTENTS, std::nullopt, [this] { form->ShowHelp(); }},
        {ID_HELP_GUIDE, std::nullopt, [this] { form->ShowGuide(); }},
        {ID_APP_ABOUT, std::nullopt, [this] { form->ShowVersionDialog(); }},
    };
}

void CAppFrameWnd::AddShortcuts()
{
    // The pose history has no menu item: its keys work anywhere in the window.
    EditorSession& session = form->Session();
    const std::tuple<int, EditorCommand, QList<QKeySequence>, std::function<void()>> keys[] = {
        {ID_EDIT_UNDO, EditorCommand::Undo, {QKeySequence::Undo}, [&session] { UndoCommand(session); }},
        {ID_EDIT_REDO, EditorCommand::Redo,
         {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))},
         [&session] { RedoCommand(session); }},
    };
    for (const auto& [id, command, sequences, run] : keys) {
        auto* action = new QAction(this);
        action->setObjectName(IdName(id));
        action->setShortcuts(sequences);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        actions[id] = action;
        commandOf[id] = command;
        connect(action, &QAction::triggered, this, run);
    }
}

void CAppFrameWnd::RefreshMenuStates()
{
    const EditorSession& session = form->Session();
    for (const auto& [id, action] : actions) {
        const auto handled = commandOf.find(id);
        // Items without a handler belong to panels still to come.
        const bool enabled = handled != commandOf.end() && (!handled->second || CanRun(session, *handled->second));
        action->setEnabled(enabled);
    }
}

void CAppFrameWnd::OpenProjectFromDialog()
{
    if (!AskSaveBeforeOpening(form->Session(), prompt)) return;
    Scene& scene = form->GetScene();
    QFileDialog dialog(this, QString(), QString::fromStdString(scene.addObjectDirectory),
                       QtUserPrompt::DialogFilter(UiText("core", PROJECT_FILE_FILTER)));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    form->OpenProjectFile(dialog.selectedFiles().front().toStdString());
}

void CAppFrameWnd::RefreshRecentProjects()
{
    for (QAction* item : recentProjectItems) {
        if (!item->isSeparator()) {
            actions.erase(item->objectName().toInt());
            commandOf.erase(item->objectName().toInt());
        }
        delete item;
    }
    recentProjectItems.clear();
    const std::vector<std::string>& paths = form->Session().RecentProjects().Paths();
    if (paths.empty()) return;
    QAction* exitItem = actions.at(ID_APP_EXIT);
    for (size_t i = 0; i < paths.size(); ++i) {
        const int id = ID_FILE_MRU_FIRST + int(i);
        auto* item = new QAction(QString::fromStdString(RecentFileMenuText(i, paths[i])), fileMenu);
        item->setObjectName(IdName(id));
        item->setEnabled(CanRun(form->Session(), EditorCommand::OpenProject));
        connect(item, &QAction::triggered, this, [this, path = paths[i]] { OpenRecentProject(path); });
        fileMenu->insertAction(exitItem, item);
        actions[id] = item;
        commandOf[id] = EditorCommand::OpenProject;
        recentProjectItems.push_back(item);
    }
    recentProjectItems.push_back(fileMenu->insertSeparator(exitItem));
}

void CAppFrameWnd::OpenRecentProject(const std::string& path)
{
    if (ReadyToOpenRecentProject(form->Session(), prompt, path)) form->OpenProjectFile(path);
}

void CAppFrameWnd::closeEvent(QCloseEvent* event)
{
    // Cancel, or a save that did not happen, keeps the window open.
    if (!destroyed && !AskSaveBeforeClosing(form->Session(), prompt)) {
        event->ignore();
        return;
    }
    event->accept();
    OnDestroy();
}

void CAppFrameWnd::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Nothing is drawn while minimised; the first frame after it catches up.
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) form->RequestRedraw();
}

void CAppFrameWnd::OnDestroy()
{
    if (destroyed) return;
    destroyed = true;
    std::string error;
    if (!form->SaveSettings(error)) std::fprintf(stderr, "marionettica3d: %s\n", error.c_str());
    form->DestroyPanelsAndScene();
}
