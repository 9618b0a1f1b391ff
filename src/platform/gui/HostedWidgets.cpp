#include "platform/gui/HostedWidgets.h"

#include <QPalette>
#include <QWidget>

#include "platform/gui/Graphics.h"

QWidget* WithSystemColors(QWidget* Widget) {
  QPalette pal(TColorToQColor(clBtnFace), TColorToQColor(clBtnFace));
  pal.setColor(QPalette::Base, TColorToQColor(clWindow));
  pal.setColor(QPalette::AlternateBase, TColorToQColor(clBtnFace));
  pal.setColor(QPalette::Text, TColorToQColor(clWindowText));
  pal.setColor(QPalette::WindowText, TColorToQColor(clWindowText));
  pal.setColor(QPalette::ButtonText, TColorToQColor(clBtnText));
  pal.setColor(QPalette::Highlight, TColorToQColor(clHighlight));
  pal.setColor(QPalette::HighlightedText, TColorToQColor(clHighlightText));
  for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
    pal.setColor(QPalette::Disabled, role, TColorToQColor(clGrayText));
  Widget->setPalette(pal);
  return Widget;
}

void ShowControlFont(QWidget* Widget, TFont* Font) {
  if (!Widget) return;
  Widget->setFont(Font->ToQFont());
  QPalette pal = Widget->palette();
  const QColor text = TColorToQColor(Font->Color());
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
      pal.setColor(group, role, text);
  Widget->setPalette(pal);
}
