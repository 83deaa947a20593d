// What runs an embedded drawing while it is edited: in place over its item,
// or in a drawing window of its own. The application installs it; until
// then an embedded drawing is shown but cannot be edited.
#pragma once

class CRectaCntrItem;
class CView;

// Runs embedded drawings for editing; the application installs it.
class CEmbeddedDrawingServer {
public:
    virtual ~CEmbeddedDrawingServer() = default;
    // Runs the item's drawing: open == false in place over the item's rectangle inside the container
    // view's window, open == true in a drawing window of its own. False when it cannot run (it says why).
    virtual bool Run(CRectaCntrItem& item, CView& containerView, bool open) = 0;
    // Ends the item's run: the drawing's bytes and picture go back into the item through
    // CRectaCntrItem::TakeBackDrawing, then its frames close.
    virtual void Close(CRectaCntrItem& item) = 0;
    // 0 not running, 1 open in a window of its own, 2 active in place.
    virtual int RunState(const CRectaCntrItem& item) const = 0;
};
CEmbeddedDrawingServer* EmbeddedDrawingServer();          // null until installed
CEmbeddedDrawingServer* InstallEmbeddedDrawingServer(CEmbeddedDrawingServer* server);  // returns the old one

// Why the objects of a drawing edited in place are not run, nor new drawings made in it.
inline constexpr char kInPlaceDrawingRunsNoObjects[] =
    "The objects of a drawing edited in place cannot be activated: open that drawing in a window of its own first "
    "(Ctrl and double click).";
