# Turns a lesson page (HTML) into the plain text that is spoken: the head, scripts and styles
# are dropped, tags become blanks (block ends become pauses), entities become characters.
# Usage: cmake -DPAGE=<page.htm> -DTEXT=<out.txt> -P PageText.cmake
file(READ "${PAGE}" html)
string(REGEX REPLACE "[\r\n\t]+" " " html "${html}")
string(REGEX REPLACE "<[hH][eE][aA][dD][ >].*</[hH][eE][aA][dD]>" " " html "${html}")
string(REGEX REPLACE "<[sS][tT][yY][lL][eE][^>]*>[^<]*</[sS][tT][yY][lL][eE]>" " " html "${html}")
# Pictures and their captions are not read aloud.
string(REGEX REPLACE "<[iI][mM][gG][^>]*>" " " html "${html}")
# A block that ends gives a pause: a full stop unless one is there already.
string(REGEX REPLACE "([^.!?:; ]) *</([pP]|[hH][1-6]|[lL][iI]|[tT][dD]|[tT][hH]|[dD][tT]|[dD][dD])>" "\\1. " html
                     "${html}")
string(REGEX REPLACE "<[^>]*>" " " html "${html}")
string(REPLACE "&nbsp;" " " html "${html}")
string(REPLACE "&mdash;" " - " html "${html}")
string(REPLACE "&ndash;" " - " html "${html}")
string(REPLACE "&laquo;" "\"" html "${html}")
string(REPLACE "&raquo;" "\"" html "${html}")
string(REPLACE "&quot;" "\"" html "${html}")
string(REPLACE "&lt;" "<" html "${html}")
string(REPLACE "&gt;" ">" html "${html}")
string(REPLACE "&amp;" " and " html "${html}")
string(REGEX REPLACE "&[#a-zA-Z0-9]+;" " " html "${html}")
string(REGEX REPLACE "  +" " " html "${html}")
string(REGEX REPLACE " ([,.;:!?])" "\\1" html "${html}")
string(REGEX REPLACE "\\.[ .]*\\." "." html "${html}")
string(STRIP "${html}" html)
file(WRITE "${TEXT}" "${html}\n")
