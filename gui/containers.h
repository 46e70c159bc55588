// Containers that place their children: kxrow (left to right), kxcolumn (top
// to bottom, first child on top), kxflow (rows that wrap at its width, made
// only by code) and kxframe, a bevelled panel.
#pragma once

#include "gui/color.h"
#include "gui/graphic.h"

class kxrow : public kxgraphic {
 public:
  static kxtype Type;

  kxcolor4 fill = {0, 0, 0, 0};  // filled when its alpha is not 0
  int cellWidth = 0;             // px per child; 0: each child's own width

  kxrow();
  kxrow(int x, int y, int w, int h);
  void CopyTo(kxnode* other) override;
  // H is the tallest child; children side by side from x 0; W their extent.
  void Update() override;
  void Draw(int ox, int oy) override;
};

class kxcolumn : public kxgraphic {
 public:
  static kxtype Type;

  int cellHeight = 0;            // px per child; 0: each child's own height
  kxcolor4 fill = {0, 0, 0, 0};

  kxcolumn();
  kxcolumn(int x, int y, int w, int h);
  void CopyTo(kxnode* other) override;
  // Children stacked from the last one at y 0 upward; H their extent.
  void Update() override;
  void Draw(int ox, int oy) override;
};

class kxflow : public kxgraphic {
 public:
  static kxtype Type;  // made only by code, never registered

  int gapX = 0;  // px between children of a row
  int gapY = 0;  // px between rows

  kxflow();
  kxflow(int x, int y, int w, int h);
  void CopyTo(kxnode* other) override;
  // Rows left to right that wrap before W, hanging from the top.
  void Update() override;
};

class kxframe : public kxgraphic {
 public:
  static kxtype Type;

  int raised = 0;
  kxcolor4 fill = {0, 0, 0, 0};

  kxframe();
  kxframe(int x, int y, int w, int h);
  void CopyTo(kxnode* other) override;
  void Draw(int ox, int oy) override;
};
