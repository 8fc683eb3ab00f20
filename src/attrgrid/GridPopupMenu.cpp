#include "attrgrid/GridPopupMenu.h"

#include "widgets/Controls.h"

namespace kalvex {

namespace {

constexpr int kMenuFontPixels = 12;

const MenuItemSpec kItems[] = {
    {"N32", "選択範囲のスペース以外を全角に"},
    {"N33", "選択範囲を半角に"},
    {"N34", "-"},
    {"N35", "選択範囲を置換"},
    {"N36", "選択範囲の半角数字を加算"},
    {"N37", "-"},
    {"N31", "連番作成"},
    {"N39", "-", Initially::Disabled},
    {"N44", "選択範囲を加算"},
    {"N45", "-"},
    {"N40", "現在のセルを昇順にソート（文字）"},
    {"N41", "現在のセルを昇順にソート（数字）"},
    {"N43", "取得順に戻す"},
    {"N38", "-"},
    {"AG1", "■TAG リスト編集(メモ帳起動)"},
    {"AG2", "■TAG リストを再読み込み"},
};

} // namespace

GridPopupMenu::GridPopupMenu(QWidget* parent) : QMenu(parent) {
    setFont(formFont(kMenuFontPixels));
    setObjectName(QStringLiteral("PopupMenu2"));
    addMenuItems(*this, kItems);
}

} // namespace kalvex
