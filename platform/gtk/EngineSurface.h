// The X window the engine draws into (its id goes to the engine with -wid). Internal to
// platform/gtk.
//
// It is a plain X window of our own inside a child window's GDK surface, not the surface
// itself: GDK resets the background of its windows to none whenever it maps or moves
// them, and a window without a background keeps whatever was on screen before (a larger
// frame, a closed menu) wherever the engine does not draw: the bands beside its picture,
// and all of it while the engine is paused.
#pragma once

typedef struct _GdkWindow GdkWindow;

namespace platform {
namespace gtk {

// A black window filling host, shown. The X server paints it black wherever it is
// uncovered, and all over on each change of size. 0 when host is no X window.
unsigned long CreateEngineSurface(GdkWindow* host, int width, int height);
void ResizeEngineSurface(GdkWindow* host, unsigned long surface, int width, int height);
// Black again at once (a frame the engine drew for an older size may lie beside its
// picture); the engine hears that it is to draw again.
void ClearEngineSurface(GdkWindow* host, unsigned long surface);

}  // namespace gtk
}  // namespace platform
