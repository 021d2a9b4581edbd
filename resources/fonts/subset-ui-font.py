#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# Cuts from the simplified-Chinese face the glyphs the window's own texts use, under a family name of
# its own ("Expander UI CJK") so that it never stands in for the whole face the system has.
# Usage: subset-ui-font.py FONT_FILE FONT_NUMBER OUTPUT SOURCE...
# The characters are every non-ASCII character of the sources, printable ASCII, and the words of
# Qt's own dialogs and edit menus.
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

QT_WORDS = "确定取消是否关闭打开保存撤销重做剪切复制粘贴删除全选文件名类型查找目录新建上一级返回详细列表视图所有"
FAMILY = "Expander UI CJK"


def main():
    font_file, number, output = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    text = set(chr(c) for c in range(0x20, 0x7F)) | set(QT_WORDS) | set("，。：；！？（）“”、…·≠—")
    for source in sys.argv[4:]:
        with open(source, encoding="utf-8") as f:
            text |= {c for c in f.read() if ord(c) > 0x7F}
    font = TTFont(font_file, fontNumber=number, lazy=True)
    options = subset.Options()
    options.layout_features = ["*"]
    options.hinting = False
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6]
    subsetter = subset.Subsetter(options)
    subsetter.populate(text="".join(sorted(text)))
    subsetter.subset(font)
    names = font["name"]
    for record in list(names.names):
        if record.nameID in (1, 4, 16):
            names.setName(FAMILY, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 6:
            names.setName(FAMILY.replace(" ", ""), 6, record.platformID, record.platEncID, record.langID)
    font.save(output)


if __name__ == "__main__":
    main()
