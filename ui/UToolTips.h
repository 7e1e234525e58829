#pragma once
// What every control of the window means, with its unit and range, shown as its tooltip.

class QWidget;

/// Gives every named control of Window (and its value label) its tooltip, and lets the menus
/// show the tooltips of their items.
void ApplyToolTips(QWidget& Window);
