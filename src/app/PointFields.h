#pragma once

#include "app/DialogControls.h"
#include "math/Vec3.h"

#include <QString>

#include <array>
#include <optional>

class QLineEdit;

namespace m3d {

// A row of three fields, X, Y and Z, each after its letter, for a point in a
// dialog: 60 dialog units a field with its letter, from left at top.
class PointFields {
public:
    // ids: the three fields' control numbers; nameFormat: their accessible
    // name with %1 for the letter ("ピボットの%1").
    PointFields(QWidget* dialog, const std::array<int, 3>& ids, const QString& nameFormat, int left, int top);

    // Shows point as the fields show transform values.
    void Fill(Vec3 point);
    // The point typed; nothing, with the first refused field showing why.
    std::optional<Vec3> Read() const;
    QLineEdit* First() const { return fields[0]; }

private:
    std::array<QLineEdit*, 3> fields{};
};

}  // namespace m3d
