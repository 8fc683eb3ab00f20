#include "texttab/EditorPopupMenu.h"

#include "widgets/Controls.h"

namespace kalvex {

namespace {

constexpr int kMenuFontPixels = 12;

const MenuItemSpec kBeforeConversions[] = {
    {"N20", "クリア"},
    {"N10", "カット"},
    {"N11", "コピー"},
    {"N12", "ペースト"},
    {"N9", "-"},
    {"N1", "すべて全角に"},
    {"N2", "選択範囲を全角に"},
    {"N3", "-"},
    {"N4", "すべて半角に"},
    {"N5", "選択範囲を半角に"},
    {"N22", "-"},
    {"N28", "すべての半角 ( ) を全角に "},
    {"N29", "-"},
};

const MenuItemSpec kConversions[] = {
    {"N23", "半角カタカナを全角に"},
    {"N24", "全角カタカナを半角に"},
    {"N091", "半角数字(0..9)を全角に"},
    {"N092", "全角数字(0..9)を半角に"},
    {"N094", "半角数値(0..9+-.,)を全角に"},
    {"N093", "全角数値(0..9+-.,)を半角に"},
    {"AZ1", "半角アルファベット(A..Z)を全角に"},
    {"AZ2", "全角アルファベット(A..Z)を半角に"},
    {"N27", "半角記号を全角に"},
    {"N26", "全角記号を半角に"},
};

const MenuItemSpec kAfterConversions[] = {
    {"N6", "-"},
    {"N7", "すべて置換"},
    {"N8", "選択範囲を置換"},
    {"N13", "-"},
    {"N14", "すべて加算"},
    {"N15", "選択範囲を加算"},
    {"N16", "-"},
    {"N17", "連番作成"},
    {"N18", "-"},
    {"AG3", "■TAG リスト編集(メモ帳起動)"},
    {"AG4", "■TAG リストを再読み込み"},
    {"N42", "-"},
    {"N25", "バージョン情報"},
    {"N30", "-"},
    {"N19", "取り消し"},
};

} // namespace

EditorPopupMenu::EditorPopupMenu(QWidget* parent) : QMenu(parent) {
    setFont(formFont(kMenuFontPixels));
    setObjectName(QStringLiteral("PopupMenu1"));
    addMenuItems(*this, kBeforeConversions);
    QMenu* conversions = addMenu(QStringLiteral("その他のすべてを変換"));
    conversions->setObjectName(QStringLiteral("N21"));
    conversions->menuAction()->setObjectName(QStringLiteral("N21"));
    addMenuItems(*conversions, kConversions);
    addMenuItems(*this, kAfterConversions);
}

} // namespace kalvex
