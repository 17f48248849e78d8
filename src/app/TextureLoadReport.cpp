#include "app/TextureLoadReport.h"

#include "meshlib/CMeshBase.h"
#include "scene/TextureOutput.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

namespace m3d {

TextureLoadReport::TextureLoadReport(CMeshBase& meshBase, QWidget* parent)
    : meshBase(meshBase),
      parent(parent),
      progress(parent, QCoreApplication::translate("TextureLoadReport", "テクスチャの画像を読み込んでいます…"))
{
    meshBase.SetTaskProgress(&progress);
}

TextureLoadReport::~TextureLoadReport() { meshBase.SetTaskProgress(nullptr); }

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
    const std::string warning = TextureProblemWarning(TextureProblemLines(meshBase.TakeNewTextureProblems()));
    if (warning.empty()) return;
    QMessageBox::warning(parent, QCoreApplication::translate("TextureLoadReport", "テクスチャ"),
                         QString::fromStdString(warning));
}

}  // namespace m3d
