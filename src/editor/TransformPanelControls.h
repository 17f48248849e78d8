#pragma once

#include "editor/FieldRules.h"
#include "view/TransformOperations.h"

#include <array>
#include <string>

namespace m3d {

class EditorSession;

// What the transform panel's controls exchange with the session. The twelve
// edit fields come in the order of their rows: relative rotation H, P, B;
// absolute rotation H, P, B; relative position x, y, z; absolute position x, y, z.
inline constexpr int kTransformFieldCount = 12;
using TransformFieldTexts = std::array<std::string, kTransformFieldCount>;

// The texts the twelve fields show for values.
TransformFieldTexts FieldTextsOf(const TransformValues& values);

// The outcome of reading the twelve fields before a "Set".
struct TransformFieldsRead {
    FieldCheck check;
    int refusedField = -1;  // the first field that holds no number; -1 when all were read
};
// Reads all twelve texts into values, or none of them: a field that holds no
// number refuses the read and leaves values as they were.
TransformFieldsRead ReadTransformFields(const TransformFieldTexts& texts, TransformValues& values);

// The grid plane check boxes: stores the flags the Pers view draws and the
// settings file keeps; ViewsChanged.
void SetGridPlanes(EditorSession& session, bool xy, bool yz, bool zx);
// "左右連動": whether every edit also changes the symmetry partners.
void SetLinkLR(EditorSession& session, bool linked);

}  // namespace m3d
