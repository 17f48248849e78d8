#include "app/PointFields.h"

#include "editor/FieldRules.h"

#include <QLabel>
#include <QLineEdit>

#include <limits>

namespace m3d {

namespace {

constexpr std::array<const char*, 3> kAxes{"X", "Y", "Z"};

}  // namespace

PointFields::PointFields(QWidget* dialog, const std::array<int, 3>& ids, const QString& nameFormat, int left, int top)
{
    for (int i = 0; i < 3; ++i) {
        const QString axis = QString::fromLatin1(kAxes[size_t(i)]);
        PlaceInDialogUnits(new QLabel(axis, dialog), {left + 60 * i, top + 2, 8, 8});
        fields[size_t(i)] = new QLineEdit(QStringLiteral("0"), dialog);
        SetControlId(fields[size_t(i)], ids[size_t(i)]);
        fields[size_t(i)]->setAccessibleName(nameFormat.arg(axis));
        PlaceInDialogUnits(fields[size_t(i)], {left + 9 + 60 * i, top, 38, 12});
    }
}

void PointFields::Fill(Vec3 point)
{
    const float values[3] = {point.x, point.y, point.z};
    for (int i = 0; i < 3; ++i) SetFieldText(fields[size_t(i)], QString::fromStdString(TransformFieldText(values[i])));
}

std::optional<Vec3> PointFields::Read() const
{
    Vec3 point;
    float* values[3] = {&point.x, &point.y, &point.z};
    constexpr float kLimit = std::numeric_limits<float>::max();
    for (int i = 0; i < 3; ++i) {
        const FieldCheck check = CheckFloatField(fields[size_t(i)]->text().toStdString(), -kLimit, kLimit, *values[i]);
        if (!check.accepted) {
            ShowRefusedField(fields[size_t(i)], check.message);
            return std::nullopt;
        }
    }
    return point;
}

}  // namespace m3d
