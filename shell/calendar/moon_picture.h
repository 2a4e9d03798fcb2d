#pragma once
// The moon picture `Picture2`: 28 phases drawn in code, picture 1 the new moon,
// 15 about the full moon, the lit side on the right while the moon waxes (as
// seen from the northern hemisphere).

#include <QImage>
#include <QWidget>

namespace merkwald {

inline constexpr int kMoonPictures = 28;

// Picture `index` ([1, 28]; other values are clamped) on a transparent square.
[[nodiscard]] QImage draw_moon(int index, int size);
// The share of the disc that picture `index` shows lit, [0, 1].
[[nodiscard]] double lit_fraction(int index);
// The phase picture `index` shows, in words: "Neumond", "zunehmende Sichel",
// "erstes Viertel", ... "Vollmond", ... "abnehmende Sichel".
[[nodiscard]] QString moon_phase_name(int index);

class MoonPicture final : public QWidget {
public:
    explicit MoonPicture(QWidget* parent = nullptr);
    void set_index(int index);
    [[nodiscard]] int index() const { return index_; }
    [[nodiscard]] QSize sizeHint() const override { return {56, 56}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int index_ = 0;  // 0 until the first tick: nothing drawn
};

}  // namespace merkwald
