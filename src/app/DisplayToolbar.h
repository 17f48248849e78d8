#pragma once

#include "editor/EditorEvents.h"
#include "editor/ViewNavigation.h"

#include <QWidget>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QMouseEvent;
class QRadioButton;

namespace m3d {

class EditorSession;

// The display toolbar of one view (template 203): the view-type list, the
// draw mode, the overlay switches, and the zoom, pan and layout pictures.
// It shows the session's state of its view and refreshes on ViewsChanged;
// the user's changes go to the display commands, the drags to the shared
// ViewNavigation. During a zoom or pan drag the cursor is hidden and parked
// in the middle of the screen; on release it comes back where it was.
class DisplayToolbar : public QWidget {
    Q_OBJECT
public:
    // navigation is shared by the four toolbars and outlives them.
    DisplayToolbar(EditorSession& session, ViewNavigation& navigation, int viewIndex, QWidget* parent);
    ~DisplayToolbar() override;

    int ViewIndex() const { return viewIndex; }
    // Every control from the session's state of the view.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Puts the last switches into a second row when the view is narrow.
    void resizeEvent(QResizeEvent* event) override;

private:
    void DisplaySwitched();
    void TypeChosen(int type);
    void BeginDrag(NavigationMode mode);
    void EndDrag();
    void ReturnFocus();

    EditorSession& session;
    ViewNavigation& navigation;
    const int viewIndex;
    QComboBox* typeList;
    QCheckBox* collision;
    QRadioButton* edges;
    QRadioButton* faces;
    QCheckBox* normals;
    QCheckBox* pivot;
    QCheckBox* showSelection;
    QCheckBox* onionSkin;
    QCheckBox* motionPath;
    QCheckBox* ik;  // the session's IK switch, labelled with its chain length
    QLabel* zoom;
    QLabel* pan;
    QLabel* layout;
    bool dragging = false;   // this toolbar started the navigation's drag
    int layoutPicture = -1;  // the view mode the layout picture shows (1 four views), -1 none yet
    EditorSubscription subscription;
};

}  // namespace m3d
