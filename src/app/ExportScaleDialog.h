#pragma once

#include <optional>

class QString;
class QWidget;

namespace m3d {

// The length scale of an export, asked before its file: a field (template
// IDD_EXPORT_SCALE) starting at scale and, under it, the model's height
// (height units tall, none when it has no vertices) as the file will hold it
// in a format whose unit is formatUnit (ExportedHeightText), following what
// is typed. On OK scale becomes the accepted value (kMinExportScale ...
// kMaxExportScale); false on Cancel. With bakeEveryFrame, the dialog is
// taller and offers "すべてのフレームを直線で書き出す" (check box
// IDC_EXPORT_BAKE) starting as *bakeEveryFrame, which takes it on OK.
bool AskExportScale(const QString& caption, float& scale, std::optional<double> height, double formatUnit,
                    QWidget* parent, bool* bakeEveryFrame = nullptr);

}  // namespace m3d
