#pragma once

#include "app/CurvePanel.h"
#include "app/DisplayToolbar.h"
#include "app/MotionPanel.h"
#include "app/PartsPanel.h"
#include "app/PartsTreePanel.h"
#include "app/TransformPanel.h"
#include "view/ViewState.h"
#include "view/WindowLayout.h"

#include <QRect>

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

class QWidget;

namespace m3d {

class CommandActions;
class EditorSession;
class ViewNavigation;

// A client-pixel rectangle of the window layout as Qt's.
inline QRect ToQRect(const PixelRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// What a hosted panel is made from. Everything referred to outlives the panels.
struct PanelMaterials {
    EditorSession& session;
    CommandActions& actions;
    ViewNavigation& navigation;  // shared by the views' toolbars
    QWidget* parent;             // the form; it owns the panels as its Qt children
};

// How the form places a hosted panel.
enum class PanelPlacement {
    Designed,          // at its window-layout place, fixed at its designed size in dialog units
    WithBottomPanels,  // at its window-layout place, as large as the splitter made the bottom panels
    OverView,          // one per view, across the top of its view while the view layout shows that view
    BelowViews,        // across the client under the views, shown while the layout gives it height
};

// One row of the panel table: the panel's type, where it goes and how one is made.
template <typename Panel>
struct PanelEntry {
    using Type = Panel;
    PanelPlacement placement;
    PanelKind place{};  // its place in the window layout; not used by OverView
    // Makes one panel: index is the view for OverView, 0 otherwise.
    Panel* (*create)(const PanelMaterials& materials, int index);
};

// The panels of the main window's client area, in the order they are made
// (which is the order they hear the session's events and the keyboard focus
// moves through them). A new panel is one more row; each type appears once.
inline constexpr std::tuple kPanelTable{
    PanelEntry<PartsPanel>{.placement = PanelPlacement::Designed,
                           .place = PanelKind::Parts,
                           .create = [](const PanelMaterials& m, int) { return new PartsPanel(m.actions, m.parent); }},
    PanelEntry<PartsTreePanel>{
        .placement = PanelPlacement::WithBottomPanels,
        .place = PanelKind::PartsTree,
        .create = [](const PanelMaterials& m, int) { return new PartsTreePanel(m.session, m.actions, m.parent); }},
    PanelEntry<MotionPanel>{
        .placement = PanelPlacement::WithBottomPanels,
        .place = PanelKind::Motion,
        .create = [](const PanelMaterials& m, int) { return new MotionPanel(m.session, m.actions, m.parent); }},
    PanelEntry<DisplayToolbar>{
        .placement = PanelPlacement::OverView,
        .create = [](const PanelMaterials& m,
                     int view) { return new DisplayToolbar(m.session, m.navigation, view, m.parent); }},
    PanelEntry<TransformPanel>{
        .placement = PanelPlacement::Designed,
        .place = PanelKind::Transform,
        .create = [](const PanelMaterials& m, int) { return new TransformPanel(m.session, m.actions, m.parent); }},
    PanelEntry<CurvePanel>{.placement = PanelPlacement::BelowViews,
                           .create = [](const PanelMaterials& m, int) { return new CurvePanel(m.session, m.parent); }},
};

// The panels made from kPanelTable, each kept as its own type. The widgets
// belong to the form (their Qt parent); Destroy deletes them before it goes.
class HostedPanels {
public:
    // Makes every panel of the table, hidden; a Designed one gets its designed size.
    void Create(const PanelMaterials& materials);
    // Places the panels made for a client area clientWidth x clientHeight
    // pixels with the bottom panels as large as bottom; a view's panel goes
    // over its view (and above the others) only while views shows that view.
    // A panel below the views is shown (once Show has run) while bottom
    // gives it height, else hidden.
    void Place(int clientWidth, int clientHeight, BottomPanelsSize bottom, const ViewState& views);
    // Shows every panel made; a view's panel only while views shows that
    // view, a panel below the views at the next Place.
    void Show(const ViewState& views);
    // Shows (visible: as views says) or hides the views' panels.
    void SetViewPanelsVisible(bool visible, const ViewState& views);
    // Raises the views' panels that are visible above the other widgets.
    void RaiseViewPanels();
    // Deletes every panel, in the order they were made; nothing afterwards.
    void Destroy();

    // The panels of type Panel (one per view for OverView); empty before Create.
    template <typename Panel>
    const std::vector<Panel*>& All() const
    {
        return std::get<std::vector<Panel*>>(panels);
    }
    // The first panel of type Panel, or nullptr before Create and after Destroy.
    template <typename Panel>
    Panel* First() const
    {
        const std::vector<Panel*>& made = All<Panel>();
        return made.empty() ? nullptr : made.front();
    }

private:
    template <typename Table>
    struct ListsOf;
    template <typename... Entry>
    struct ListsOf<std::tuple<Entry...>> {
        using Type = std::tuple<std::vector<typename Entry::Type*>...>;
    };

    // Calls f(entry, panels made from it) for every row of the table, in order.
    template <typename F>
    void ForEachRow(F&& f)
    {
        [&]<std::size_t... I>(std::index_sequence<I...>) { (f(std::get<I>(kPanelTable), std::get<I>(panels)), ...); }
        (std::make_index_sequence<std::tuple_size_v<decltype(kPanelTable)>>{});
    }

    ListsOf<std::remove_const_t<decltype(kPanelTable)>>::Type panels;
    bool shown = false;  // Show has run
};

}  // namespace m3d
