#pragma once
// What can go wrong while a page is built from its layout file. A tag handler that meets a fault
// throws a UILayoutError; the markup reader catches it (as a std::exception), skips to the next
// tag and hands the message to the page's OnError, which logs it. The page keeps the faults of its
// last load as values, with the line the log names (UILayout::Faults).
#include <exception>
#include <string>
#include <utility>

enum class UILayoutFault : int {
    Markup,                // the markup itself (unknown tag or attribute, bad syntax): the reader's text
    UnknownAlign,          // "Unknown align: " and the value
    BadColour,             // the colour reader's text
    NoTextStyle,           // "No text style."
    OutsideLayout,         // "Tag outside <layout>."
    NoParent,              // "No parent control."
    NestedTooDeeply,       // "Blocks nested too deeply."
    LayoutNotFirst,        // "Tag <layout> must be first in YML."
    BlocksLeftOpen,        // "Do not closed blocks tag before </layout>."
    ExpectedTable,         // "Expected <table>."
    TableTooLarge,         // "Table too large."
    ExpectedSelect,        // "Expected <select>."
    ExpectedNotebook,      // "Expected <notebook>."
    EmptyPages,            // "Notebook or Pages is empty."
    StrayFlowClose,        // "Error tag </div>, </td> or </block>."
    StrayFontClose,        // "Error tag </font>."
    StrayTableClose,       // "Error tag </table>."
    StrayWindowClose,      // "Error tag </window>."
    StrayPageClose,        // "Error tag </page>."
    StrayPagesClose,       // "Error tag </notebook> or </pages>."
    EndsBeforeLayoutClose, // "The file ends before </layout>."
    ProtectError,          // "Protect error."
};

// The fixed message of a fault; the empty string for the faults whose message depends on what was
// read (Markup, UnknownAlign, BadColour).
const char* UILayoutFaultText(UILayoutFault fault);

class UILayoutError : public std::exception {
public:
    // A fault with its fixed message.
    explicit UILayoutError(UILayoutFault fault_) : fault(fault_), message(UILayoutFaultText(fault_)) {}
    UILayoutError(UILayoutFault fault_, std::string message_) : fault(fault_), message(std::move(message_)) {}

    const char* what() const noexcept override { return message.c_str(); }

    UILayoutFault fault;
    int line = 0; // line of the file, counted from 1; 0 until the page knows it
    std::string message;
};
