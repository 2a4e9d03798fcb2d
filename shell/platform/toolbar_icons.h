#pragma once
// The toolbar's pictures: the desktop's icon theme where it has one, else a
// picture drawn here, so that every button shows one.

#include <QIcon>
#include <QString>

namespace merkwald {

// `key` is the toolbar button's key ("open", "export", ...).
[[nodiscard]] QIcon toolbar_icon(const QString& key);

// The drawn picture alone (what a desktop without an icon theme shows).
[[nodiscard]] QIcon drawn_icon(const QString& key);

}  // namespace merkwald
