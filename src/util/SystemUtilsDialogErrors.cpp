// Texts of the common dialogs' extended error codes.
#include "folio/util/SystemUtils.h"

namespace SystemUtils {

namespace {

struct SDialogError {
  unsigned long code;
  const char16_t* text;
};

constexpr SDialogError kDialogErrors[] = {
    {0, u"No error"},
    {1, u"The lStructSize member of the initialization structure for the corresponding common "
        u"dialog box is invalid."},
    {2, u"The common dialog box function failed during initialization. This error often occurs "
        u"when sufficient memory is not available."},
    {3, u"The ENABLETEMPLATE flag was set in the Flags member of the initialization structure "
        u"for the corresponding common dialog box, but you failed to provide a corresponding "
        u"template."},
    {4, u"The ENABLETEMPLATE flag was set in the Flags member of the initialization structure "
        u"for the corresponding common dialog box, but you failed to provide a corresponding "
        u"instance handle."},
    {5, u"The common dialog box function failed to load a specified string."},
    {6, u"The common dialog box function failed to find a specified resource."},
    {7, u"The common dialog box function failed to load a specified resource."},
    {8, u"The common dialog box function failed to lock a specified resource."},
    {9, u"The common dialog box function was unable to allocate memory for internal "
        u"structures."},
    {10, u"The common dialog box function was unable to lock the memory associated with a "
         u"handle."},
    {11, u"The ENABLEHOOK flag was set in the Flags member of the initialization structure for "
         u"the corresponding common dialog box, but you failed to provide a pointer to a "
         u"corresponding hook procedure."},
    {12, u"The RegisterWindowMessage function returned an error code when it was called by the "
         u"common dialog box function."},
    {4097, u"The PrintDlg function failed to load the required resources."},
    {4098, u"The PrintDlg function failed to parse the strings in the [devices] section of the "
           u"WIN.INI file."},
    {4099, u"The PSD_RETURNDEFAULT flag was specified in the Flags member of the PRINTDLG "
           u"structure, but the hDevMode or hDevNames member was not NULL."},
    {4100, u"The PrintDlg function failed to load the device driver for the specified printer."},
    {4101, u"The printer driver failed to initialize a DEVMODE structure."},
    {4102, u"The PrintDlg function failed during initialization, and there is no more specific "
           u"extended error code to describe the failure. This is the generic default error "
           u"code for the function."},
    {4103, u"No printer drivers were found."},
    {4104, u"A default printer does not exist."},
    {4105, u"The data in the DEVMODE and DEVNAMES structures describes two different printers."},
    {4106, u"The PrintDlg function failed when it attempted to create an information context."},
    {4107, u"The [devices] section of the WIN.INI file did not contain an entry for the "
           u"requested printer."},
    {4108, u"You called the PrintDlg function with the DN_DEFAULTPRN flag specified in the "
           u"wDefault member of the DEVNAMES structure, but the printer described by the other "
           u"structure members did not match the current default printer. (This error occurs "
           u"when you store the DEVNAMES structure and the user changes the default printer by "
           u"using the Control Panel.)\nTo use the printer described by the DEVNAMES structure, "
           u"clear the DN_DEFAULTPRN flag and call PrintDlg again.\nTo use the default printer, "
           u"replace the DEVNAMES structure (and the structure, if one exists) with NULL; and "
           u"call PrintDlg again."},
    {8193, u"No fonts exist."},
    {8194, u"The size specified in the nSizeMax member of the CHOOSEFONT structure is less than "
           u"the size specified in the nSizeMin member."},
    {12289, u"An attempt to subclass a list box failed because sufficient memory was not "
            u"available."},
    {12290, u"A file name is invalid."},
    {12291, u"The buffer pointed to by the lpstrFile member of the OPENFILENAME structure is too "
            u"small for the file name specified by the user. The first two bytes of the "
            u"lpstrFile buffer contain an integer value specifying the size, in TCHARs, "
            u"required to receive the full name."},
    {16385, u"A member of the FINDREPLACE structure points to an invalid buffer."},
    {65535, u"The dialog box could not be created. The common dialog box function's call to the "
            u"DialogBox function failed. For example, this error occurs if the common dialog "
            u"box call specifies an invalid window handle."},
};

}  // namespace

CStr GetCommonDialogErrorText(unsigned long code) {
  for (const SDialogError& entry : kDialogErrors) {
    if (entry.code == code) return entry.text;
  }
  return u"Unknown error code";
}

}  // namespace SystemUtils
