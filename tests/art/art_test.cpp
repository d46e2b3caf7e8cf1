// The committed overlay and cursors: sizes, the spots the overlay must leave
// clear, cursors that read on any background and point the way their names
// say, and the art tool reproducing the committed pixels exactly.
#include <cairo.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path art_dir = VXR_ART_DIR;

const char *const cursor_files[] = {
    "m_point.png", "m_click.png", "a_up.png",    "a_dn.png",    "r_s_l.png",
    "r_s_r.png",   "r_m_l.png",   "r_m_r.png",   "r_l_l.png",   "r_l_r.png",
    "b_close.png", "b_pop.png",   "b_resize_l.png", "b_resize_r.png",
};

// A PNG read into memory as premultiplied ARGB32 words, rows top to bottom.
struct Image {
    int w = 0, h = 0;
    cairo_format_t format = CAIRO_FORMAT_INVALID;
    std::vector<uint32_t> px;

    uint32_t at(int x, int y) const { return px[size_t(y) * w + x]; }
    int alpha(int x, int y) const
    {
        return (x < 0 || y < 0 || x >= w || y >= h) ? 0 : int(at(x, y) >> 24);
    }
};

Image load(const fs::path &file)
{
    Image img;
    cairo_surface_t *s = cairo_image_surface_create_from_png(file.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        img.w = cairo_image_surface_get_width(s);
        img.h = cairo_image_surface_get_height(s);
        img.format = cairo_image_surface_get_format(s);
        const int stride = cairo_image_surface_get_stride(s);
        const unsigned char *data = cairo_image_surface_get_data(s);
        for (int y = 0; y < img.h; y++) {
            const auto *row = reinterpret_cast<const uint32_t *>(data + size_t(y) * stride);
            img.px.insert(img.px.end(), row, row + img.w);
        }
    }
    cairo_surface_destroy(s);
    return img;
}

Image load_cursor(const std::string &name) { return load(art_dir / "cursors" / name); }

bool is_opaque_light(uint32_t p)
{
    return (p >> 24) == 255 && ((p >> 16) & 255) > 200 && ((p >> 8) & 255) > 200 && (p & 255) > 200;
}

bool is_opaque_dark(uint32_t p)
{
    return (p >> 24) == 255 && ((p >> 16) & 255) < 60 && ((p >> 8) & 255) < 60 && (p & 255) < 60;
}

// Alpha-weighted moments of a cursor, in pixel-centre coordinates (y downwards).
struct Moments {
    double mass = 0, cx = 0, cy = 0, cov_xy = 0;
};

Moments moments(const Image &img)
{
    Moments m;
    for (int y = 0; y < img.h; y++)
        for (int x = 0; x < img.w; x++) {
            const double a = img.alpha(x, y);
            m.mass += a;
            m.cx += a * (x + 0.5);
            m.cy += a * (y + 0.5);
        }
    m.cx /= m.mass;
    m.cy /= m.mass;
    for (int y = 0; y < img.h; y++)
        for (int x = 0; x < img.w; x++)
            m.cov_xy += img.alpha(x, y) * (x + 0.5 - m.cx) * (y + 0.5 - m.cy);
    m.cov_xy /= m.mass;
    return m;
}

double alpha_sum(const Image &img, int x0, int y0, int x1, int y1)
{
    double sum = 0;
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            sum += img.alpha(x, y);
    return sum;
}

// Width of the drawn part of a cursor: columns that hold any ink.
int drawn_width(const Image &img)
{
    int first = img.w, last = -1;
    for (int y = 0; y < img.h; y++)
        for (int x = 0; x < img.w; x++)
            if (img.alpha(x, y) > 0) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return last - first + 1;
}

TEST(PopupArt, FilesHaveTheirSizesAndAnAlphaChannel)
{
    const Image overlay = load(art_dir / "nobezel.png");
    EXPECT_EQ(overlay.w, 1024);
    EXPECT_EQ(overlay.h, 768);
    EXPECT_EQ(overlay.format, CAIRO_FORMAT_ARGB32);
    for (const char *name : cursor_files) {
        SCOPED_TRACE(name);
        const Image c = load_cursor(name);
        EXPECT_EQ(c.w, 32);
        EXPECT_EQ(c.h, 32);
        EXPECT_EQ(c.format, CAIRO_FORMAT_ARGB32);
    }
}

TEST(PopupArt, OverlayLeavesThePictureClearButForFrameAndCornerMarks)
{
    const Image img = load(art_dir / "nobezel.png");
    ASSERT_EQ(img.px.size(), size_t(1024 * 768));

    struct Rect {
        int x0, y0, x1, y1;
    };
    // The displays' marker spots and frame-number strip: not a pixel may be covered.
    const Rect must_be_clear[] = {{48, 48, 80, 80},     {944, 48, 976, 80}, {48, 688, 80, 720},
                                  {944, 688, 976, 720}, {440, 736, 584, 760}};
    for (const Rect &r : must_be_clear) {
        SCOPED_TRACE(::testing::Message() << "[" << r.x0 << "," << r.x1 << ")x[" << r.y0 << ","
                                          << r.y1 << ")");
        EXPECT_EQ(alpha_sum(img, r.x0, r.y0, r.x1, r.y1), 0.0);
    }

    // Anywhere else the overlay draws only a thin frame and marks inside the
    // 48-pixel active corners.
    const int frame = 5, corner = 48;
    int stray = 0;
    for (int y = frame; y < 768 - frame; y++)
        for (int x = frame; x < 1024 - frame; x++) {
            const bool in_corner = (x < corner || x >= 1024 - corner) && (y < corner || y >= 768 - corner);
            if (!in_corner && img.alpha(x, y) != 0)
                stray++;
        }
    EXPECT_EQ(stray, 0) << "covered pixels outside the frame and the corners";

    // The frame is there on all four edges, dark and partly transparent.
    const int edge_points[][2] = {{512, 0}, {512, 767}, {0, 384}, {1023, 384}};
    for (const auto &p : edge_points) {
        SCOPED_TRACE(::testing::Message() << "edge pixel " << p[0] << "," << p[1]);
        const uint32_t v = img.at(p[0], p[1]);
        const int a = int(v >> 24);
        EXPECT_GT(a, 64);
        EXPECT_LT(a, 255);
        EXPECT_LT(int((v >> 16) & 255) * 255 / std::max(a, 1), 96);
    }

    // Each active corner carries a visible mark beyond the frame.
    const Rect corners[] = {{frame, frame, corner, corner},
                            {1024 - corner, frame, 1024 - frame, corner},
                            {frame, 768 - corner, corner, 768 - frame},
                            {1024 - corner, 768 - corner, 1024 - frame, 768 - frame}};
    for (const Rect &r : corners) {
        int light = 0;
        for (int y = r.y0; y < r.y1; y++)
            for (int x = r.x0; x < r.x1; x++) {
                const uint32_t v = img.at(x, y);
                if ((v >> 24) > 150 && ((v >> 16) & 255) > 150)
                    light++;
            }
        EXPECT_GT(light, 20) << "corner at " << r.x0 << "," << r.y0;
    }
}

// Light shapes with a dark rim: every light pixel is kept from the
// transparent background by at least one pixel of something else.
TEST(PopupArt, CursorsReadOnLightAndDarkBackgrounds)
{
    for (const char *name : cursor_files) {
        SCOPED_TRACE(name);
        const Image c = load_cursor(name);
        ASSERT_EQ(c.px.size(), size_t(32 * 32));
        int light = 0, dark = 0, unrimmed = 0;
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) {
                if (is_opaque_dark(c.at(x, y)))
                    dark++;
                if (!is_opaque_light(c.at(x, y)))
                    continue;
                light++;
                if (c.alpha(x - 1, y) == 0 || c.alpha(x + 1, y) == 0 || c.alpha(x, y - 1) == 0 ||
                    c.alpha(x, y + 1) == 0)
                    unrimmed++;
            }
        EXPECT_GE(light, 30);
        EXPECT_GE(dark, 30);
        EXPECT_EQ(unrimmed, 0);
    }
}

// The host shows a cursor with its centre at the pointer.
TEST(PopupArt, CursorsSitOnTheirHotSpot)
{
    for (const char *name : cursor_files) {
        if (std::string(name) == "m_point.png")
            continue;
        SCOPED_TRACE(name);
        const Moments m = moments(load_cursor(name));
        EXPECT_NEAR(m.cx, 16.0, 2.5);
        EXPECT_NEAR(m.cy, 16.0, 2.5);
    }
    // The hand points with its fingertip, which covers the hot spot.
    const Image hand = load_cursor("m_point.png");
    ASSERT_EQ(hand.px.size(), size_t(32 * 32));
    EXPECT_TRUE(is_opaque_light(hand.at(16, 15)));
    EXPECT_EQ(alpha_sum(hand, 0, 0, 32, 9), 0.0) << "nothing above the fingertip";
}

TEST(PopupArt, CursorsPointTheWayTheirNamesSay)
{
    // Bottom-left corner: the NE-SW diagonal; bottom-right: NW-SE (y grows downwards).
    EXPECT_LT(moments(load_cursor("b_resize_l.png")).cov_xy, -10.0);
    EXPECT_GT(moments(load_cursor("b_resize_r.png")).cov_xy, 10.0);

    // An arrow's widest row is its head.
    auto widest_row = [](const Image &img) {
        int best = -1, best_w = -1;
        for (int y = 0; y < img.h; y++) {
            int w = 0;
            for (int x = 0; x < img.w; x++)
                w += img.alpha(x, y) > 128;
            if (w > best_w) {
                best_w = w;
                best = y;
            }
        }
        return best;
    };
    EXPECT_LT(widest_row(load_cursor("a_up.png")), 16);
    EXPECT_GE(widest_row(load_cursor("a_dn.png")), 16);

    // The rotation arrows open at the top and end in their head: turning
    // counter-clockwise (left, down, right, up) the head comes last on the
    // right of the opening; turning clockwise, on its left.
    const char *const pairs[][2] = {
        {"r_s_l.png", "r_s_r.png"}, {"r_m_l.png", "r_m_r.png"}, {"r_l_l.png", "r_l_r.png"}};
    for (const auto &pair : pairs) {
        SCOPED_TRACE(pair[0]);
        const Image ccw = load_cursor(pair[0]), cw = load_cursor(pair[1]);
        ASSERT_EQ(ccw.px.size(), size_t(32 * 32));
        ASSERT_EQ(cw.px.size(), size_t(32 * 32));
        EXPECT_GT(alpha_sum(ccw, 16, 0, 32, 16), 1.2 * alpha_sum(ccw, 0, 0, 16, 16));
        EXPECT_GT(alpha_sum(cw, 0, 0, 16, 16), 1.2 * alpha_sum(cw, 16, 0, 32, 16));
        // Each is the other's mirror image, up to the rasteriser's edge shading.
        int differing = 0;
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++)
                differing += std::abs(ccw.alpha(x, y) - cw.alpha(31 - x, y)) > 24;
        EXPECT_EQ(differing, 0);
    }

    const int small = drawn_width(load_cursor("r_s_l.png"));
    const int medium = drawn_width(load_cursor("r_m_l.png"));
    const int large = drawn_width(load_cursor("r_l_l.png"));
    EXPECT_LT(small + 2, medium);
    EXPECT_LT(medium + 2, large);
}

// Regenerating the art gives the committed pixels: the files in the tree are
// the tool's output and nothing else.
TEST(PopupArt, ToolReproducesTheCommittedFiles)
{
    char tmpl[] = "/tmp/popup_art_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const fs::path out = tmpl;
    const std::string command = std::string("'") + VXR_MAKE_POPUP_ART + "' '" + out.string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0);

    std::vector<fs::path> files = {"nobezel.png"};
    for (const char *name : cursor_files)
        files.push_back(fs::path("cursors") / name);
    for (const fs::path &file : files) {
        SCOPED_TRACE(file.string());
        const Image fresh = load(out / file);
        const Image committed = load(art_dir / file);
        ASSERT_FALSE(fresh.px.empty());
        ASSERT_FALSE(committed.px.empty());
        EXPECT_EQ(fresh.w, committed.w);
        EXPECT_EQ(fresh.h, committed.h);
        EXPECT_TRUE(fresh.px == committed.px);
    }
    fs::remove_all(out);
}

}  // namespace
