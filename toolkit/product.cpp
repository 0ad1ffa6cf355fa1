#include "product.h"

namespace toolkit {

QString Product::word() const
{
    const int blank = name.indexOf(QLatin1Char(' '));
    return blank < 0 ? name : name.left(blank);
}

} // namespace toolkit
