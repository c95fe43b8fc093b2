// write_contact_sheet: one picture of every image of the table at 2x on a dark neutral ground,
// each cell framed by a grid line and the image's name and cell size above it, for review.
#include <algorithm>
#include <stdexcept>

#include "assetgen.h"
#include "canvas.h"
#include "core/asset_table.h"
#include "images.h"

namespace gen {

namespace {

const Rgb kGround{24, 24, 28}, kCheckA{44, 44, 50}, kCheckB{36, 36, 41}, kGrid{92, 92, 104},
    kInk{208, 208, 214};

// A 3 x 5 font of the sheet's own, one string of 15 cells per character, row by row.
const char* tiny_glyph(char ch) {
    switch (ch) {
        case 'A':
            return ".#.#.#####.##.#";
        case 'B':
            return "##.#.###.#.###.";
        case 'C':
            return ".###..#..#...##";
        case 'D':
            return "##.#.##.##.###.";
        case 'E':
            return "####..##.#..###";
        case 'F':
            return "####..##.#..#..";
        case 'G':
            return ".###..#.##.#.##";
        case 'H':
            return "#.##.#####.##.#";
        case 'I':
            return "###.#..#..#.###";
        case 'J':
            return "..#..#..##.#.#.";
        case 'K':
            return "#.##.###.#.##.#";
        case 'L':
            return "#..#..#..#..###";
        case 'M':
            return "#.########.##.#";
        case 'N':
            return "##.#.##.##.##.#";
        case 'O':
            return ".#.#.##.##.#.#.";
        case 'P':
            return "##.#.###.#..#..";
        case 'Q':
            return ".#.#.##.###..##";
        case 'R':
            return "##.#.###.#.##.#";
        case 'S':
            return ".###...#...###.";
        case 'T':
            return "###.#..#..#..#.";
        case 'U':
            return "#.##.##.##.####";
        case 'V':
            return "#.##.##.##.#.#.";
        case 'W':
            return "#.##.########.#";
        case 'X':
            return "#.##.#.#.#.##.#";
        case 'Y':
            return "#.##.#.#..#..#.";
        case 'Z':
            return "###..#.#.#..###";
        case '0':
            return "####.##.##.####";
        case '1':
            return ".#.##..#..#.###";
        case '2':
            return "##...#.#.#..###";
        case '3':
            return "##...#.#...###.";
        case '4':
            return "#.##.####..#..#";
        case '5':
            return "####..##...###.";
        case '6':
            return ".###..####.####";
        case '7':
            return "###..#.#..#..#.";
        case '8':
            return "####.#####.####";
        case '9':
            return "####.####..###.";
        case '.':
            return ".............#.";
        case ' ':
            return "...............";
    }
    return "###.#.###.#.###";  // anything else: a visible placeholder
}

void tiny_text(Canvas& c, const std::string& text, int x, int y, int scale) {
    for (char ch : text) {
        if (ch >= 'a' && ch <= 'z') ch = char(ch - 'a' + 'A');
        const char* g = tiny_glyph(ch);
        for (int i = 0; i < 15 && g[i]; ++i)
            if (g[i] == '#') c.fill_rect(x + (i % 3) * scale, y + (i / 3) * scale, scale, scale, kInk);
        x += 4 * scale;
    }
}

struct Item {
    std::string label;
    Canvas pic;  // the cells at 2x with their grid, ready to place
};

// The cells of one image at 2x, `per_row` to a row, a grid line around every cell; key pixels
// show as a fine checker so that transparency can be told from dark colours.
Canvas lay_out(const std::vector<Canvas>& cells, int per_row) {
    const int count = int(cells.size()), cw = cells[0].w, ch = cells[0].h;
    int rows = (count + per_row - 1) / per_row, cols = std::min(count, per_row);
    Canvas out(cols * (cw * 2 + 1) + 1, rows * (ch * 2 + 1) + 1, kGrid);
    for (int k = 0; k < count; ++k) {
        int ox = 1 + (k % per_row) * (cw * 2 + 1), oy = 1 + (k / per_row) * (ch * 2 + 1);
        for (int y = 0; y < ch * 2; ++y)
            for (int x = 0; x < cw * 2; ++x) {
                Rgb p = cells[size_t(k)].get(x / 2, y / 2);
                if (p == kKey) p = ((x / 2 + y / 2) & 1) ? kCheckA : kCheckB;
                out.set(ox + x, oy + y, p);
            }
    }
    return out;
}

}  // namespace

void write_contact_sheet(const std::string& out_dir, const std::string& path) {
    const int sheet_w = 1280, margin = 8, label_h = 14;
    std::vector<Item> items;
    for (const ImageEntry& e : kImageTable) {
        Canvas img;
        std::string file = out_dir + "/" + e.file;
        if (!read_bmp(file, img)) throw std::runtime_error(file + ": cannot read");
        int cw = e.count ? e.cell_w : img.w, ch = e.count ? e.cell_h : img.h, n = e.count ? e.count : 1;
        // The image's own columns when they fit (the hyper field's strips stay stacked), else as
        // many as fit across the sheet.
        int fit = std::max(1, (sheet_w - 2 * margin) / (cw * 2 + 1));
        int own = img.w / cw;
        int per_row = std::min(n, own <= fit ? own : fit);
        std::string name = std::string(e.file).substr(4);
        name = name.substr(0, name.size() - 4);
        std::string size =
            std::to_string(cw) + "X" + std::to_string(ch) + (e.count ? "X" + std::to_string(n) : "");
        items.push_back({name + " " + size, lay_out(cells_of(img, cw, ch, e.count), per_row)});
    }
    // Shelves: items left to right, a new shelf when the next one does not fit.
    struct Place {
        int x, y;
    };
    std::vector<Place> at;
    int x = margin, y = margin, shelf = 0;
    for (const Item& it : items) {
        int w = std::max(it.pic.w, int(it.label.size()) * 8);
        if (x > margin && x + w > sheet_w - margin) {
            x = margin;
            y += shelf + margin;
            shelf = 0;
        }
        at.push_back({x, y});
        x += w + margin * 2;
        shelf = std::max(shelf, label_h + it.pic.h);
    }
    Canvas sheet(sheet_w, y + shelf + margin, kGround);
    for (size_t i = 0; i < items.size(); ++i) {
        tiny_text(sheet, items[i].label, at[i].x, at[i].y, 2);
        sheet.blit(items[i].pic, at[i].x, at[i].y + label_h, true);
    }
    if (!write_bmp(path, sheet)) throw std::runtime_error(path + ": cannot write");
}

}  // namespace gen
