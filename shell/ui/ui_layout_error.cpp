#include "shell/ui/ui_layout_error.h"

const char* UILayoutFaultText(UILayoutFault fault) {
    switch (fault) {
        case UILayoutFault::Markup:
        case UILayoutFault::UnknownAlign:
        case UILayoutFault::BadColour: return "";
        case UILayoutFault::NoTextStyle: return "No text style.";
        case UILayoutFault::OutsideLayout: return "Tag outside <layout>.";
        case UILayoutFault::NoParent: return "No parent control.";
        case UILayoutFault::NestedTooDeeply: return "Blocks nested too deeply.";
        case UILayoutFault::LayoutNotFirst: return "Tag <layout> must be first in YML.";
        case UILayoutFault::BlocksLeftOpen: return "Do not closed blocks tag before </layout>.";
        case UILayoutFault::ExpectedTable: return "Expected <table>.";
        case UILayoutFault::TableTooLarge: return "Table too large.";
        case UILayoutFault::ExpectedSelect: return "Expected <select>.";
        case UILayoutFault::ExpectedNotebook: return "Expected <notebook>.";
        case UILayoutFault::EmptyPages: return "Notebook or Pages is empty.";
        case UILayoutFault::StrayFlowClose: return "Error tag </div>, </td> or </block>.";
        case UILayoutFault::StrayFontClose: return "Error tag </font>.";
        case UILayoutFault::StrayTableClose: return "Error tag </table>.";
        case UILayoutFault::StrayWindowClose: return "Error tag </window>.";
        case UILayoutFault::StrayPageClose: return "Error tag </page>.";
        case UILayoutFault::StrayPagesClose: return "Error tag </notebook> or </pages>.";
        case UILayoutFault::EndsBeforeLayoutClose: return "The file ends before </layout>.";
        case UILayoutFault::ProtectError: return "Protect error.";
    }
    return "";
}
