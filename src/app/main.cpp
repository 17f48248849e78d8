#include <QApplication>
#include <QLabel>
#include <QMainWindow>

// The editor's window. For now it shows the title and the file it was started with.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Marionettica3D Ver 1.0.0   名称未設定"));
    window.setMinimumSize(800, 600);
    const QStringList args = app.arguments();
    auto* label = new QLabel(args.size() > 1 ? args.at(1) : QStringLiteral("名称未設定"), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.resize(1024, 768);
    window.show();
    return app.exec();
}
