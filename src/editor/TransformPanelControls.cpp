#include "editor/TransformPanelControls.h"

#include "editor/EditorSession.h"

#include <cfloat>

namespace m3d {

namespace {

// The twelve values in field order.
std::array<float*, kTransformFieldCount> FieldValues(TransformValues& v)
{
    return {&v.relativeRotation.h, &v.relativeRotation.p, &v.relativeRotation.b, &v.absoluteRotation.h,
            &v.absoluteRotation.p, &v.absoluteRotation.b, &v.relativePosition.x, &v.relativePosition.y,
            &v.relativePosition.z, &v.absolutePosition.x, &v.absolutePosition.y, &v.absolutePosition.z};
}

}  // namespace

TransformFieldTexts FieldTextsOf(const TransformValues& values)
{
    TransformValues copy = values;
    TransformFieldTexts texts;
    const auto fields = FieldValues(copy);
    for (int i = 0; i < kTransformFieldCount; ++i) texts[size_t(i)] = TransformFieldText(*fields[size_t(i)]);
    return texts;
}

TransformFieldsRead ReadTransformFields(const TransformFieldTexts& texts, TransformValues& values)
{
    TransformValues read = values;
    const auto fields = FieldValues(read);
    for (int i = 0; i < kTransformFieldCount; ++i) {
        const FieldCheck check = CheckFloatField(texts[size_t(i)], -FLT_MAX, FLT_MAX, *fields[size_t(i)]);
        if (!check.accepted) return {check, i};
    }
    values = read;
    return {{true, std::string()}, -1};
}

void SetGridPlanes(EditorSession& session, bool xy, bool yz, bool zx)
{
    ViewState& views = session.Views();
    views.gridXY = xy ? 1 : 0;
    views.gridYZ = yz ? 1 : 0;
    views.gridZX = zx ? 1 : 0;
    session.Events().Publish(ViewsChanged{});
}

void SetLinkLR(EditorSession& session, bool linked) { session.TransformPanel().linkLR = linked ? 1 : 0; }

}  // namespace m3d
