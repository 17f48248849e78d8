#include "app/CAppWinApp.h"

#include "app/CAppFrameWnd.h"
#include "app/DialogFont.h"
#include "app/RenderWidget.h"
#include "app/StartupMessages.h"
#include "editor/EditorSession.h"
#include "editor/RecoveryFolder.h"
#include "settings/AppSettings.h"
#include "settings/InterfaceLanguage.h"
#include "settings/SettingsLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QSurfaceFormat>

#include <cstdio>

namespace m3d {

namespace {

constexpr int kStartWidth = 1024 + 90;
constexpr int kStartHeight = 768 + 200;

std::vector<std::string> ArgumentsAfterProgram(const QStringList& all)
{
    std::vector<std::string> out;
    for (qsizetype i = 1; i < all.size(); ++i) out.push_back(all[i].toStdString());
    return out;
}

// A document of the program (such as "help/index.html"): beside the program,
// else in the installed share folder; the first place when it is in neither.
std::string FindDocument(const QString& programDirectory, const QString& relativePath)
{
    const QString candidates[] = {programDirectory + QStringLiteral("/") + relativePath,
                                  programDirectory + QStringLiteral("/../share/marionettica3d/") + relativePath};
    for (const QString& candidate : candidates)
        if (QFileInfo::exists(candidate)) return QDir::cleanPath(candidate).toStdString();
    return QDir::cleanPath(candidates[0]).toStdString();
}

// The OpenGL format must be the default before the application object exists
// so that every context shares it; Qt's start-up messages are held from here.
int& BeforeApplication(int& argc)
{
    QSurfaceFormat::setDefaultFormat(RenderWidget::RequestedFormat());
    BeginHoldingStartupMessages();
    return argc;
}

}  // namespace

std::unique_ptr<CAppFrameWnd> OpenMainWindow(const AppEnvironment& environment,
                                             const std::optional<std::string>& startupFile)
{
    UseDialogFont();
    // The render surface and the toolbars over it are native windows; the
    // other widgets stay drawn by the toolkit.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    auto frame = std::make_unique<CAppFrameWnd>(environment);
    frame->resize(kStartWidth, kStartHeight);
    frame->Form()->OnInitialUpdate();
    frame->setWindowTitle(QStringLiteral("Marionettica3D Ver 1.0.0"));
    frame->show();
    frame->Form()->PlacePanels();
    if (startupFile) frame->Form()->OpenStartupFile(*startupFile);
    frame->StartRecovery();
    return frame;
}

CAppWinApp::CAppWinApp(int& argc, char** argv) : application(BeforeApplication(argc), argv), session(new EditorSession)
{
    EndHoldingStartupMessages();
    QApplication::setApplicationName(QStringLiteral("Marionettica3D"));
    QGuiApplication::setDesktopFileName(QStringLiteral(M3D_APP_ID));
    arguments = ParseProgramArguments(ArgumentsAfterProgram(QApplication::arguments()));
    const std::string programDirectory = QApplication::applicationDirPath().toStdString();
    settingsPath = ResolveSettingsPath(programDirectory, ProcessEnvironment, arguments.settingsPath);
    language = StartLanguage(arguments.language, AppSettings(settingsPath).RememberedLanguage());
    translation = std::make_unique<InterfaceTranslation>(language);
    const QString programFolder = QApplication::applicationDirPath();
    helpPath = FindDocument(
        programFolder, language == "en" ? QStringLiteral("help/index.en.html") : QStringLiteral("help/index.html"));
    guidePath = FindDocument(programFolder, QStringLiteral("guide/index.html"));
}

CAppWinApp::~CAppWinApp()
{
    frame.reset();
    session.reset();
}

bool CAppWinApp::InitInstance()
{
    if (!arguments.error.empty()) {
        std::fprintf(stderr, "marionettica3d: %s\n%s", arguments.error.c_str(), ProgramUsage().c_str());
        return false;
    }
    AppEnvironment environment;
    environment.session = session.get();
    environment.framework = &framework;
    environment.settingsPath = settingsPath;
    environment.helpPath = helpPath;
    environment.language = language;
    environment.guidePath = guidePath;
    environment.recoveryFolder = DefaultRecoveryFolder();
    frame = OpenMainWindow(environment, arguments.file);
    return true;
}

int CAppWinApp::Run() { return QApplication::exec(); }

}  // namespace m3d
