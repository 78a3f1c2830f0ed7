#include "tools/loudness/loudness_plot.h"

#include <cairo.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

/// The frame of the graph inside the picture.
constexpr double kLeft = 70.0, kRight = 20.0, kTop = 40.0, kBottom = 50.0;
/// Loudness shown: this many LU below the top line.
constexpr double kSpan = 60.0;
/// Pixels from a level's line to its label, and the height a label takes.
constexpr double kLabelGap = 4.0, kLabelHeight = 14.0;

struct Colour {
    double r, g, b, a;
};
constexpr Colour kBackground = {1.0, 1.0, 1.0, 1.0};
constexpr Colour kGrid = {0.85, 0.85, 0.85, 1.0};
constexpr Colour kText = {0.1, 0.1, 0.1, 1.0};
constexpr Colour kMomentary = {0.55, 0.7, 0.95, 1.0};
constexpr Colour kShortTerm = {0.05, 0.2, 0.6, 1.0};
constexpr Colour kIntegrated = {0.1, 0.55, 0.2, 1.0};
constexpr Colour kTarget = {0.85, 0.3, 0.1, 1.0};
constexpr Colour kBand = {0.95, 0.55, 0.3, 0.18};
constexpr Colour kOver = {0.85, 0.0, 0.0, 1.0};

void use(cairo_t* cairo, const Colour& colour) {
    cairo_set_source_rgba(cairo, colour.r, colour.g, colour.b, colour.a);
}

std::string timeLabel(double seconds) {
    const long whole = std::lround(seconds);
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    }
    return text;
}

/// A step between time ticks that gives at most about ten of them.
double tickStep(double seconds) {
    for (const double step :
         {1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 60.0, 120.0, 300.0, 600.0, 900.0, 1800.0, 3600.0}) {
        if (seconds / step <= 10.0) {
            return step;
        }
    }
    return 7200.0;
}

/// Maps seconds and LUFS to the picture.
struct Axes {
    double seconds, top;
    double x(double t) const {
        return kLeft + (LoudnessPlot::kWidth - kLeft - kRight) * t / seconds;
    }
    double y(double lufs) const {
        const double clamped = std::clamp(lufs, top - kSpan, top);
        return kTop + (LoudnessPlot::kHeight - kTop - kBottom) * (top - clamped) / kSpan;
    }
};

void text(cairo_t* cairo, double x, double y, const std::string& words, double alignX) {
    cairo_text_extents_t extents;
    cairo_text_extents(cairo, words.c_str(), &extents);
    cairo_move_to(cairo, x - extents.width * alignX, y);
    cairo_show_text(cairo, words.c_str());
}

void drawAxes(cairo_t* cairo, const Axes& axes) {
    cairo_set_line_width(cairo, 1.0);
    for (double lufs = axes.top; lufs >= axes.top - kSpan; lufs -= 10.0) {
        use(cairo, kGrid);
        cairo_move_to(cairo, kLeft, axes.y(lufs));
        cairo_line_to(cairo, LoudnessPlot::kWidth - kRight, axes.y(lufs));
        cairo_stroke(cairo);
        use(cairo, kText);
        text(cairo, kLeft - 6, axes.y(lufs) + 4, std::to_string(std::lround(lufs)), 1.0);
    }
    const double step = tickStep(axes.seconds);
    for (double t = 0.0; t <= axes.seconds + 1e-9; t += step) {
        use(cairo, kGrid);
        cairo_move_to(cairo, axes.x(t), kTop);
        cairo_line_to(cairo, axes.x(t), LoudnessPlot::kHeight - kBottom);
        cairo_stroke(cairo);
        use(cairo, kText);
        text(cairo, axes.x(t), LoudnessPlot::kHeight - kBottom + 16, timeLabel(t), 0.5);
    }
    text(cairo, (kLeft + LoudnessPlot::kWidth - kRight) / 2, LoudnessPlot::kHeight - 10,
         "time (m:ss)", 0.5);
    // Up the left edge, centred on the graph's height.
    cairo_save(cairo);
    cairo_translate(cairo, 18, (kTop + LoudnessPlot::kHeight - kBottom) / 2);
    cairo_rotate(cairo, -M_PI / 2);
    text(cairo, 0, 0, "loudness (LUFS)", 0.5);
    cairo_restore(cairo);
}

/// One reading of every step as a line, broken where it is undefined.
template <typename Reading>
void drawCurve(cairo_t* cairo, const Axes& axes, const Measurement& input, Reading reading,
               const Colour& colour, double width) {
    use(cairo, colour);
    cairo_set_line_width(cairo, width);
    bool drawing = false;
    for (const Measurement::Step& step : input.steps) {
        const double lufs = reading(step);
        if (!std::isfinite(lufs)) {
            drawing = false;
            continue;
        }
        (drawing ? cairo_line_to : cairo_move_to)(cairo, axes.x(step.seconds), axes.y(lufs));
        drawing = true;
    }
    cairo_stroke(cairo);
}

/// A dashed line across the graph at `lufs`, its label at the right end above the line, or
/// below it when `below`, on a pale ground that the curves do not cross.
void drawLevel(cairo_t* cairo, const Axes& axes, double lufs, const Colour& colour,
               const std::string& label, bool below) {
    use(cairo, colour);
    cairo_set_line_width(cairo, 1.5);
    const double dashes[] = {6.0, 4.0};
    cairo_set_dash(cairo, dashes, 2, 0.0);
    cairo_move_to(cairo, kLeft, axes.y(lufs));
    cairo_line_to(cairo, LoudnessPlot::kWidth - kRight, axes.y(lufs));
    cairo_stroke(cairo);
    cairo_set_dash(cairo, nullptr, 0, 0.0);
    cairo_text_extents_t extents;
    cairo_text_extents(cairo, label.c_str(), &extents);
    const double right = LoudnessPlot::kWidth - kRight - 4;
    const double baseline = below ? axes.y(lufs) + kLabelGap - extents.y_bearing
                                  : axes.y(lufs) - kLabelGap - extents.y_bearing - extents.height;
    cairo_set_source_rgba(cairo, kBackground.r, kBackground.g, kBackground.b, 0.85);
    cairo_rectangle(cairo, right - extents.width - 2, baseline + extents.y_bearing - 1,
                    extents.width + 4, extents.height + 2);
    cairo_fill(cairo);
    use(cairo, colour);
    text(cairo, right, baseline, label, 1.0);
}

}  // namespace

bool LoudnessPlot::draw(const Measurement& input, const std::string& path,
                        std::string& error) const {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cairo = cairo_create(surface);
    use(cairo, kBackground);
    cairo_paint(cairo);
    cairo_select_font_face(cairo, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cairo, 12.0);
    const double loudest = std::isfinite(input.maxMomentary) ? input.maxMomentary : -20.0;
    const Axes axes{std::max(input.seconds, 0.1),
                    std::max(0.0, 10.0 * std::ceil((loudest + 1.0) / 10.0))};
    drawAxes(cairo, axes);
    if (target && tolerance) {
        use(cairo, kBand);
        const double high = axes.y(*target + *tolerance);
        cairo_rectangle(cairo, kLeft, high, kWidth - kLeft - kRight,
                        axes.y(*target - *tolerance) - high);
        cairo_fill(cairo);
    }
    drawCurve(
        cairo, axes, input, [](const Measurement::Step& s) { return s.momentary; }, kMomentary,
        1.0);
    drawCurve(
        cairo, axes, input, [](const Measurement::Step& s) { return s.shortTerm; }, kShortTerm,
        2.0);
    char label[96];
    // Labels of lines closer than a label's height go apart: the upper line's above it, the
    // lower's below (the target's above when they are one).
    const bool both = target && std::isfinite(input.integrated);
    const bool close =
        both && std::fabs(axes.y(*target) - axes.y(input.integrated)) < kLabelHeight + kLabelGap;
    if (target) {
        std::snprintf(label, sizeof label, "target %.1f LUFS", *target);
        drawLevel(cairo, axes, *target, kTarget, label, close && *target < input.integrated);
    }
    if (std::isfinite(input.integrated)) {
        std::snprintf(label, sizeof label, "integrated %.1f LUFS", input.integrated);
        drawLevel(cairo, axes, input.integrated, kIntegrated, label,
                  close && input.integrated <= *target);
    }
    // A mark along the top for each step whose true peak exceeds the ceiling.
    use(cairo, kOver);
    for (const Measurement::Step& step : input.steps) {
        if (step.truePeak > ceiling) {
            cairo_rectangle(cairo, axes.x(step.seconds) - 1.5, kTop - 8, 3, 6);
        }
    }
    cairo_fill(cairo);
    use(cairo, kText);
    std::snprintf(label, sizeof label,
                  "   momentary (light), short-term (dark); red marks: true peak above %+.1f dBTP",
                  ceiling);
    cairo_set_font_size(cairo, 13.0);
    text(cairo, kLeft, 22, input.name + label, 0.0);
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = "cannot write the plot " + path + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

std::string LoudnessPlot::pathFor(const std::string& file, const std::string& plot,
                                  bool severalFiles, std::string& error) {
    struct stat status {};
    const bool folder = stat(plot.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    if (!folder && !severalFiles) {
        return plot;
    }
    if (!folder) {
        error = "--plot " + plot + " is not a folder: several files are pictured into one";
        return "";
    }
    const std::size_t slash = file.rfind('/');
    const std::string name = file == "-"
                                 ? "standard-input"
                                 : (slash == std::string::npos ? file : file.substr(slash + 1));
    return plot + "/" + name + ".png";
}
