#include "shell/TagListSelection.h"

#include <QComboBox>

namespace kalvex {

void selectStoredIndex(QComboBox& list, int storedIndex) {
    if (storedIndex < list.count())
        list.setCurrentIndex(storedIndex < 0 ? -1 : storedIndex);
    else
        list.setCurrentIndex(list.count() > 0 ? 0 : -1);
}

} // namespace kalvex
