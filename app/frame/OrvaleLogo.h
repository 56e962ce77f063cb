#pragma once
// The program's logo: a mirror under test seen through the interferometer, its
// fringes round a central obstruction, drawn at run time at any size.
#include <QIcon>
#include <QPixmap>

namespace orvale {

QPixmap OrvaleLogo(int size);

// The logo at the sizes title bars, task bars and window switchers ask for: the
// application's window icon, so that every window of the program shows it.
QIcon OrvaleIcon();

}  // namespace orvale
