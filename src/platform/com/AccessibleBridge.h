#pragma once
// The bridge between the accessible objects of our libraries (IAccessible) and Qt's
// accessibility, through which desktop assistive tools read the program: an object's
// IAccessible shown as the Qt accessible interface of a widget, its children and simple
// elements included, and, the other way, a Qt accessible interface seen as an IAccessible.

#include "platform/com/OleAcc.h"

class QObject;
class QAccessibleInterface;

// Makes Accessible what Qt's accessibility answers for Object (a widget), from now until the
// object is destroyed or another call replaces it (null: Qt's own answer again). One reference
// is kept meanwhile.
void SetQtAccessibleObject(QObject* Object, IAccessible* Accessible);
// The accessible object given to Object, or null.
IAccessible* QtAccessibleObjectOf(QObject* Object);
// An IAccessible over Qt's accessible interface of Object; empty when Qt has none.
TComPtr<IAccessible> AccessibleFromQtObject(QObject* Object);
