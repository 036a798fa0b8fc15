#pragma once
// Controls carry their dialog template id as their objectName, "id" and the
// decimal id ("id1060"; OK is "id1", Cancel "id2"), so tests and tools find
// them as the program's own code names them.

#include <QString>
#include <QWidget>

namespace jb {

inline QString ControlName(int id) { return QStringLiteral("id%1").arg(id); }

template <class Widget>
Widget* WithId(Widget* widget, int id) {
  widget->setObjectName(ControlName(id));
  return widget;
}

}  // namespace jb
