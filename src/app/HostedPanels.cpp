#include "app/HostedPanels.h"

namespace m3d {

namespace {

// How many panels a row makes.
int CountOf(PanelPlacement placement) { return placement == PanelPlacement::OverView ? ViewState::kViewCount : 1; }

}  // namespace

void HostedPanels::Create(const PanelMaterials& materials)
{
    ForEachRow([&](const auto& entry, auto& made) {
        for (int i = 0; i < CountOf(entry.placement); ++i) {
            auto* panel = entry.create(materials, i);
            if (entry.placement == PanelPlacement::Designed)
                panel->setFixedSize(ToQRect(PanelSize(entry.place)).size());
            // Over the render window's native surface only a native window
            // shows, and only one beside it: the form itself stays unnative.
            if (entry.placement == PanelPlacement::OverView) {
                panel->setAttribute(Qt::WA_DontCreateNativeAncestors);
                panel->setAttribute(Qt::WA_NativeWindow);
            }
            panel->hide();
            made.push_back(panel);
        }
    });
}

void HostedPanels::Place(int clientWidth, int clientHeight, BottomPanelsSize bottom, const ViewState& views)
{
    ForEachRow([&](const auto& entry, auto& made) {
        for (size_t i = 0; i < made.size(); ++i) {
            QWidget* panel = made[i];
            if (entry.placement == PanelPlacement::BelowViews) {
                const QRect place = ToQRect(CurvePanelRect(clientWidth, clientHeight, bottom));
                if (!place.isEmpty()) panel->setGeometry(place);
                panel->setVisible(shown && !place.isEmpty());
                continue;
            }
            if (entry.placement == PanelPlacement::OverView) {
                if (!ToolbarShown(views, int(i))) continue;
                panel->setGeometry(ToQRect(ToolbarRect(views, int(i))));
                panel->raise();
                continue;
            }
            const QRect place = ToQRect(PanelRect(entry.place, clientHeight, bottom));
            if (entry.placement == PanelPlacement::WithBottomPanels) panel->setFixedSize(place.size());
            panel->move(place.topLeft());
        }
    });
}

void HostedPanels::Show(const ViewState& views)
{
    shown = true;
    ForEachRow([&](const auto& entry, auto& made) {
        if (entry.placement == PanelPlacement::BelowViews) return;
        for (size_t i = 0; i < made.size(); ++i)
            if (entry.placement != PanelPlacement::OverView || ToolbarShown(views, int(i))) made[i]->show();
    });
}

void HostedPanels::SetViewPanelsVisible(bool visible, const ViewState& views)
{
    ForEachRow([&](const auto& entry, auto& made) {
        if (entry.placement != PanelPlacement::OverView) return;
        for (size_t i = 0; i < made.size(); ++i) made[i]->setVisible(visible && ToolbarShown(views, int(i)));
    });
}

void HostedPanels::RaiseViewPanels()
{
    ForEachRow([&](const auto& entry, auto& made) {
        if (entry.placement != PanelPlacement::OverView) return;
        for (QWidget* panel : made)
            if (panel->isVisible()) panel->raise();
    });
}

void HostedPanels::Destroy()
{
    shown = false;
    ForEachRow([](const auto&, auto& made) {
        for (auto* panel : made) delete panel;
        made.clear();
    });
}

}  // namespace m3d
