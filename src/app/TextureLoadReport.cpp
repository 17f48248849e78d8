#include "app/TextureLoadReport.h"

#include "scene/Scene.h"
#include "scene/TextureOutput.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

namespace m3d {

TextureLoadReport::TextureLoadReport(Scene& scene, QWidget* parent)
    : scene(scene),
      parent(parent),
      progress(parent, QCoreApplication::translate("TextureLoadReport", "テクスチャの画像を読み込んでいます…"))
{
    scene.SetTextureProgress(&progress);
}

TextureLoadReport::~TextureLoadReport() { scene.SetTextureProgress(nullptr); }

void TextureLoadReport::SessionChanged()
{
    if (pending) return;
    pending = true;
    // A load publishes many changes; one look after the last of them.
    QTimer::singleShot(0, parent, [this] { Report(); });
}

void TextureLoadReport::Report()
{
    pending = false;
    progress.Restart();
    const std::string warning = TextureProblemWarning(TextureProblemLines(scene.TakeNewTextureProblems()));
    if (warning.empty()) return;
    QMessageBox::warning(parent, QCoreApplication::translate("TextureLoadReport", "テクスチャ"),
                         QString::fromStdString(warning));
}

}  // namespace m3d
