// Small helpers that make a widget under its control name, and the product's pictures.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

class QLabel;
class QWidget;

namespace kavero::ui {

template <class W, class... Args> W* named(const char* name, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The product logo, drawn rather than shipped as a file: a rounded square with a "K".
QPixmap productLogo(int size);
QIcon productIcon();

// A small decorative picture beside a list, as a label holding an icon.
QLabel* imageLabel(const char* name, const QIcon& icon, QWidget* parent = nullptr);

} // namespace kavero::ui
