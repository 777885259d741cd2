#pragma once

#include "common/Controls.h"
#include "common/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

// Building blocks of the document dialogs: frames and captioned text fields, placed in twips.
namespace sales::fields {

inline QGroupBox* frame(QWidget* parent, int number, const QString& caption, QRect rect)
{
    return app::placed(new QGroupBox(caption, parent), QStringLiteral("Frame%1").arg(number), rect);
}

inline QLabel* caption(QWidget* parent, int number, const QString& text, QRect rect)
{
    QLabel* label = app::placed(new QLabel(text, parent), QStringLiteral("Label%1").arg(number), rect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

inline QLineEdit* textBox(QWidget* parent, int number, QRect rect)
{
    return app::placed(new QLineEdit(parent), QStringLiteral("Text%1").arg(number), rect);
}

} // namespace sales::fields
