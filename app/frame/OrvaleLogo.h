#pragma once
// The program's logo: a mirror under test seen through the interferometer, its
// fringes round a central obstruction, drawn at run time at any size.
#include <QPixmap>

namespace orvale {

QPixmap OrvaleLogo(int size);

}  // namespace orvale
