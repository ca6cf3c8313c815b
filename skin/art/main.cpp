// Draws every image of the installer's skin, so the artwork can be rebuilt from
// source at any time: lexivar-skin-art RES_FOLDER ICON_FILE
#include <cstdio>

#include "artwork.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: lexivar-skin-art RES_FOLDER ICON_FILE\n", stderr);
        return 2;
    }
    const skinart::Path res = argv[1];
    const bool ok = skinart::DrawBrand(res, argv[2]) && skinart::DrawBackgrounds(res) &&
                    skinart::DrawButtons(res) && skinart::DrawFormControls(res) &&
                    skinart::DrawTitleButtons(res) && skinart::DrawDialogIcons(res) &&
                    skinart::DrawSpinner(res);
    if (!ok) {
        std::fputs("lexivar-skin-art: could not write the images\n", stderr);
        return 1;
    }
    return 0;
}
