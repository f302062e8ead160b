"""Windows' own ids, named as its headers name them: the standard dialog
buttons, system-menu commands and the common file dialog's controls."""

IDOK, IDCANCEL, IDRETRY, IDYES, IDNO = 1, 2, 4, 6, 7
SC_MINIMIZE, SC_CLOSE, SC_RESTORE = 0xF020, 0xF060, 0xF120
# The file-open picker's name box (cmb13) and type list (cmb1); its list of files is
# id 1, like its Open button.
FILE_NAME_BOX, FILE_TYPE_LIST, FILE_LIST = 1148, 1136, 1
