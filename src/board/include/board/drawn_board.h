#pragma once

#include "board/board.h"

#include <memory>

namespace kansu::board {

// How the marks on the board look, taken from the lesson's own controls: the vertex names, the
// lengths, the points' names, the area label and its raised 2, the dots, the paths (the first
// point's colour, the second's, then others) and the hint.
struct MarkStyles {
    FontSpec vertexFont, lengthFont, pointFont, areaFont, squaredFont;
    OleColour vertexColour = 0, lengthColour = 0, pointColour = 0, areaColour = 0;
    OleColour dotColour = 0;
    int dotSize = 8;
    std::vector<OleColour> pathColours;
    int pathWidth = 5;
    OleColour hintColour = 0;
    int hintWidth = 5;
};

// The board of any problem: its figure, the area's polygon and its shading, the grid, and the
// paths, hint, labels and dots, all drawn on the picture, once an action is over. The figure
// fits the board's square at whole pixels to the centimetre; labels stand outside the figure,
// each point's name beside its side; a hint is the height of a triangle over a base that stays on
// one line.
class DrawnBoard : public Board {
public:
    DrawnBoard(PictureBox& picture, std::shared_ptr<const motion::Course> course,
               MarkStyles styles);

    const Square& square() const override { return square_; }

    void reset(const Motion& now, bool shaded) override;
    void redrawFigure(const Motion& now, bool shaded) override;
    void drawGrid() override;
    void placeMarkers(const Motion& now) override;
    void placePaths(const Motion& now) override;
    void parkPaths() override;
    void placeAreaLabel(const Motion& now) override;
    void placeHint(const Motion& now) override;
    void parkHint() override;
    void settle() override;

private:
    void draw();
    void drawFigure();
    void drawPaths();
    void drawHint();
    void drawLabels();
    void drawAreaLabel();
    void drawDots();
    void printAt(const std::string& text, double left, double top, const FontSpec& font,
                 OleColour colour);
    int widthOf(const std::string& text, const FontSpec& font);
    int heightOf(const FontSpec& font);
    // A corner of the area's polygon on the board, a vertex or a moving point.
    PointF cornerOnBoard(char name) const;
    PointF centre() const; // the figure's, which labels stand away from

    PictureBox& picture_;
    std::shared_ptr<const motion::Course> course_;
    MarkStyles styles_;
    FontSpec boardFont_; // the picture box's own, given back after the labels
    Square square_;
    const Motion* now_ = nullptr;
    bool shaded_ = false, grid_ = false, paths_ = false, hint_ = false;
    bool dirty_ = false;
};

} // namespace kansu::board
