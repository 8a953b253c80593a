// Scrolled fields: an array parameter shown through the fixed rows of a
// scrolled container, whose row widgets ("_PN_<n>[<k>]") are bound again to
// other elements whenever the user scrolls. A row may hold a label "Index"
// showing its element.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

// The label of a row that shows the row's element.
inline constexpr char kRowIndexName[] = "Index";

// User data "n,offset": the container's item count becomes the element
// count of the array n minus the offset (0 when absent). Returns 1.
int CB_ShowScrolledFieldPara(GwCore* widget, GwEvent* event, GwUD userData);
// The container's scroll binding, user data an offset: stores the changed
// widgets of the visible rows, then binds row i to element (first visible
// item + offset + i) and redraws the rows. 0 when a row is missing (the rows
// before it are bound already), else 1.
int CB_HandleScrolledFieldPara(GwCore* widget, GwEvent* event, GwUD userData);
// Renames a bound widget with an element index to "_PN_<n>[<element>]", n
// the parameter it binds now ("_PN_x" offsets added). Nothing without a
// context, for an unbound widget or one without an element index.
void RebindRowWidget(GwCore* widget, int element);
