#pragma once

#include <QColor>
#include <QString>
#include <vector>

namespace demo {

// What a goods picture shows; DemoPictures draws each kind.
enum class Drawing {
    Ball, Teddy, Car, Blocks, Duck, Pyramid, Top, Train,
    Dress, TShirt, Hat, Socks,
    Book,
    Pram, Stroller, Tricycle,
};

struct Picture {
    Drawing drawing;
    QColor colour;
    QString fileName;   // empty: the goods have no picture
};

// One goods record of the demo shop as the shop keeper typed it, with what happened to it since.
struct Goods {
    QString name;
    QString maker;
    QString description;
    double purchasePrice;
    double markup;       // percent over the purchase price
    int bought;          // count of the first delivery
    int sold;            // how many of them went through the basket since
    bool promotion;
    Picture picture;
    int minimum = 0;      // the minimum stock set for it
    QString barcode = {}; // its EAN-13
};

struct Article {
    QString name;
    std::vector<Goods> goods;
};

// The articles in the order the showcase lists them.
const std::vector<Article>& demoCatalogue();

} // namespace demo
