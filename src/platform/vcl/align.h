// Docking and anchoring of child controls, as the window designs state them:
// a control aligned to the top, bottom, left or right edge (or filling the
// rest) of its parent, and a control anchored to some of its parent's edges,
// keeping those distances when the parent is resized.
#pragma once

#include <cstdint>

class QWidget;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

using TAnchors = std::uint8_t;
constexpr TAnchors akLeft = 1, akTop = 2, akRight = 4, akBottom = 8;
constexpr TAnchors akAll = akLeft | akTop | akRight | akBottom;

// Docks `control` in its parent; the parent re-arranges its docked children
// in the order top, bottom, left, right, client whenever it is resized.
void SetAlign(QWidget* control, TAlign align);
TAlign GetAlign(const QWidget* control);
// Anchors `control` to the given edges of its parent, keeping the distances
// it has now (left and top are the default).
void SetAnchors(QWidget* control, TAnchors anchors);
TAnchors GetAnchors(const QWidget* control);  // akLeft | akTop when never set
// Scales the kept distances of an anchored control (a window zoom).
void ScaleAnchors(QWidget* control, int numerator, int denominator);
// Re-arranges the docked and anchored children of `parent` at once.
void ArrangeChildren(QWidget* parent);
