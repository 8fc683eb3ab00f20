#include <map>

#include <QAbstractButton>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include "MainFormFixture.h"

namespace kalvex::testing {

namespace {

// The labels that show progress, counts and results: their text changes as the user works.
const char* const kChangingLabels[] = {"Label1", "Label2", "Label5", "Label6"};

bool isChangingLabel(const QWidget* widget) {
    for (const char* name : kChangingLabels) {
        if (widget->objectName() == QLatin1String(name))
            return true;
    }
    return false;
}

// Where each named control of the page stands in the window, the changing labels left out.
std::map<QString, QRect> placesOf(const QWidget& page, const QWidget& window) {
    std::map<QString, QRect> places;
    for (const QWidget* control : page.findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() || isChangingLabel(control) || !control->isVisible())
            continue;
        places[control->objectName()] =
            QRect(control->mapTo(&window, QPoint(0, 0)), control->size());
    }
    return places;
}

// Every button and check box enabled and every changing label holding a long text, as in the
// middle of an operation.
void enableEverything(QWidget& page) {
    for (QAbstractButton* button : page.findChildren<QAbstractButton*>())
        button->setEnabled(true);
    for (QLabel* label : page.findChildren<QLabel*>()) {
        if (isChangingLabel(label))
            label->setText(QStringLiteral("更新しました: 1234 / 5678 行 (変更 999 行)"));
    }
}

TEST_F(MainFormTest, ControlsKeepTheirPlacesWhateverIsEnabledOrShown) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTabWidget& tabs = form->pageControl();
    for (int index = 0; index < tabs.count(); ++index) {
        tabs.setCurrentIndex(index);
        QWidget& page = *tabs.widget(index);
        QCoreApplication::processEvents();
        const std::map<QString, QRect> before = placesOf(page, *form);
        ASSERT_GT(before.size(), 5u);
        enableEverything(page);
        QCoreApplication::processEvents();
        const std::map<QString, QRect> after = placesOf(page, *form);
        for (const auto& [name, place] : before) {
            EXPECT_EQ(after.at(name), place) << "tab " << index << ": " << name.toStdString();
        }
    }
}

} // namespace

} // namespace kalvex::testing
