# Writes the settings file a fresh build starts with: open the bundled
# sample season. Once the program has run it keeps its own settings there,
# so an existing file is never touched.
if(NOT EXISTS "${INI}")
    string(CONCAT text
        "[Option]\r\n"
        "Load=1\r\n"
        "FileName=${SAMPLE}\r\n")
    file(WRITE "${INI}" "${text}")
endif()
