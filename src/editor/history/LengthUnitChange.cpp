#include "editor/history/LengthUnitChange.h"

#include "editor/EditorSession.h"

#include <utility>

namespace m3d {

void LengthUnitChange::Exchange(EditorSession& session) { std::swap(session.GetScene().metresPerUnit, metresPerUnit); }

}  // namespace m3d
