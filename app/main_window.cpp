#include "app/main_window.h"

#include "app/link_labels.h"
#include "patcher/movie_operations.h"
#include "platform/font_change.h"
#include "platform/form_window.h"
#include "platform/skinned_button.h"

namespace {

// The controls, named as the window's design names them.
enum ControlId {
    transLabel2 = 1, // the forum line
    transLabel1,     // the method credit
    transLabel8,     // the program credit
    button2,         // restore the opening movies
    button1,         // turn the opening movies off
};

// In creation order.
const ControlTemplate mainWindowControls[] = {
    {ControlKind::TransLabel, transLabel2, L"更多轩辕剑6好工具好秘籍尽在：Korvan第一单机游戏论坛",
     18, 180, 329, 20},
    {ControlKind::TransLabel, transLabel1, L"方法原理:@Lunwick", 32, 144, 120, 20},
    {ControlKind::TransLabel, transLabel8, L"程序制作:@Berrisa", 224, 144, 96, 20},
    {ControlKind::Button, button2, L"恢复开场动画", 200, 56, 96, 32},
    {ControlKind::Button, button1, L"关闭开场动画", 48, 56, 96, 32},
};

const FormTemplate mainWindowTemplate = {
    L"Tessaril.MainWindow",
    L"Tessaril",
    361,
    238,
    programIconName,
    button1,
    mainWindowControls,
    sizeof mainWindowControls / sizeof mainWindowControls[0],
};

void onClicked(Form&, int controlId) {
    if (controlId == button1)
        turnOffOpeningMovies();
    else if (controlId == button2)
        restoreOpeningMovies();
}

void onLabelPressed(Form&, int controlId, int, int, int) {
    if (controlId == transLabel1)
        openMethodAuthorPage();
    else if (controlId == transLabel8)
        openProgramAuthorPage();
    else if (controlId == transLabel2)
        openForumBoardPage();
}

void onDestroying(Form&) {
    openClosingPages();
}

} // namespace

void prepareMainWindow(Form& mainWindow) {
    setSkinScheme(2);
    underlineLabelFont(mainWindow.control(transLabel1));
    underlineLabelFont(mainWindow.control(transLabel2));
    underlineLabelFont(mainWindow.control(transLabel8));
}

int runMainWindow(HINSTANCE instance) {
    Form mainWindow;
    const FormEvents events = {prepareMainWindow, onDestroying, onClicked, onLabelPressed};
    if (!mainWindow.create(instance, mainWindowTemplate, events))
        return 1;
    mainWindow.show();
    return mainWindow.runMessageLoop();
}
