#include "shell/main/glyphs.h"

namespace MainSet {

// Fuchsia ('D') is the ground of every picture: its bottom-left pixel.
const ui::Picture& glyphOpen() {
    static const ui::Picture p = ui::Picture::fromRows({
        "DDDDDDDDDDDDDDDD",
        "DDDDDDDDD000DDDD",
        "DDDDDDDD0DDD0D0D",
        "DDDDDDDDDDDDD00D",
        "DDDDDDDDDDDD000D",
        "D000DDDDDDDDDDDD",
        "0BFB000000000DDD",
        "0FBFBFBFBFBF0DDD",
        "0BFBFBFBFBFB0DDD",
        "0FBFB00000000000",
        "0BFB0333333333330",
        "0FB03333333333303",
        "0B03333333333303D",
        "003333333333330DD",
        "00000000000000DDD",
        "DDDDDDDDDDDDDDDD",
    });
    return p;
}

const ui::Picture& glyphSave() {
    static const ui::Picture p = ui::Picture::fromRows({
        "DDDDDDDDDDDDDDDD",
        "D00000000000000D",
        "D0330FFFFFF0770D",
        "D0330FFFFFF0330D",
        "D0330FFFFFF0330D",
        "D0330FFFFFF0330D",
        "D0330FFFFFF0330D",
        "D03330000003330D",
        "D03333333333330D",
        "D03300000000330D",
        "D03300000770330D",
        "D03300000770330D",
        "D03300000770330D",
        "DD0000000000000D",
        "DDDDDDDDDDDDDDDD",
        "DDDDDDDDDDDDDDDD",
    });
    return p;
}

const ui::Picture& glyphGear() {
    static const ui::Picture p = ui::Picture::fromRows({
        "DDDDDDDDDDDDDDDD",
        "DDDDDDD00DDDDDDD",
        "DDD0DD0770DD0DDD",
        "DD0700777700770D",
        "DD0777788777770D",
        "DDD07780087770DD",
        "DD07780DD087700D",
        "D0778DDDDDD8770D",
        "D0778DDDDDD8770D",
        "DD07780DD08770DD",
        "DDD07780087770DD",
        "DD0777788777770D",
        "DD0700777700770D",
        "DDD0DD0770DD0DDD",
        "DDDDDDD00DDDDDDD",
        "DDDDDDDDDDDDDDDD",
    });
    return p;
}

const ui::Picture& glyphAbout() {
    static const ui::Picture p = ui::Picture::fromRows({
        "DDDDDDDDDDDDDDDD",
        "DDD00000000000DD",
        "DD0444444444440D",
        "DD0444FFFF44440D",
        "DD044FF44FF4440D",
        "DD04444444FF440D",
        "DD0444444FF4440D",
        "DD044444FF44440D",
        "DD044444FF44440D",
        "DD0444444444440D",
        "DD044444FF44440D",
        "DD0444444444440D",
        "DD0FFFFFFFFFFF0D",
        "DD0777777777770D",
        "DDD00000000000DD",
        "DDDDDDDDDDDDDDDD",
    });
    return p;
}

const ui::Picture& glyphPrint() {
    static const ui::Picture p = ui::Picture::fromRows({
        "DDDDDDDDDDDDDDDD",
        "DDDD000000000DDD",
        "DDDD0FFFFFFF0DDD",
        "DDDD0F00000F0DDD",
        "DDDD0FFFFFFF0DDD",
        "DDDD0F00000F0DDD",
        "DD0000000000000D",
        "D077777777777770",
        "D077777777772A70",
        "D077777777777770",
        "D000000000000000",
        "D077777777777770",
        "DD0FFFFFFFFFFF0D",
        "DD0F0000000FF0DD",
        "DD0000000000000D",
        "DDDDDDDDDDDDDDDD",
    });
    return p;
}

const ui::Picture& glyphNo() {
    static const ui::Picture p = ui::Picture::fromRows({
        "DDDDDDDDDDDDDDDD",
        "DDDDD111111DDDDD",
        "DDD1199999911DDD",
        "DD199999999991DD",
        "DD199F9999F991DD",
        "D1999FF99FF9991D",
        "D19999FFFF99991D",
        "D199999FF999991D",
        "D19999FFFF99991D",
        "D1999FF99FF9991D",
        "DD199F9999F991DD",
        "DD199999999991DD",
        "DDD1199999911DDD",
        "DDDDD111111DDDDD",
        "DDDDDDDDDDDDDDDD",
        "DDDDDDDDDDDDDDDD",
    });
    return p;
}

}  // namespace MainSet
