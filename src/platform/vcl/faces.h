// Windows face names that the windows ask for ("ＭＳ ゴシック" and the like),
// mapped once for the whole program to the faces installed here.
#pragma once

// Maps "ＭＳ ゴシック" to Noto Sans Mono CJK JP (fixed pitch, so columns of
// text line up), "ＭＳ Ｐゴシック", "MS UI Gothic" and "System" to Noto Sans
// CJK JP and "ＭＳ 明朝" to Noto Serif CJK JP. Safe to call more than once.
void InstallFaceNames();
