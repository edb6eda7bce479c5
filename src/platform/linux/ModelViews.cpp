#include "platform/linux/ModelViews.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <cmath>

#include "platform/linux/ModelImages.h"
#include "platform/linux/ShownNames.h"

namespace routelle::linux_desktop {
namespace {

int rounded(double value) { return static_cast<int>(std::lround(value)); }

QSize sizeOf(const Rect& frame) { return {rounded(frame.width), rounded(frame.height)}; }

// The model's frame (origin at the parent's lower left) in Qt's terms (top left).
void place(QWidget* widget, const Rect& frame, const QWidget* parent) {
  const int parentHeight = parent ? parent->height() : 0;
  widget->setGeometry(rounded(frame.x), parentHeight - rounded(frame.y + frame.height), rounded(frame.width),
                      rounded(frame.height));
}

void styleText(QWidget* widget, const View& view) {
  if (view.fontSize > 0) {
    QFont font = widget->font();
    // The Mac's points are pixels at 1x.
    font.setPixelSize(static_cast<int>(std::lround(view.fontSize)));
    if (!view.fontName.empty() && view.fontName.find("Bold") != std::string::npos) font.setBold(true);
    widget->setFont(font);
  }
  if (view.textColor == "white") widget->setStyleSheet("color: white;");
}

}  // namespace

QWidget* ModelViews::control(View& view, QWidget* parent) {
  const QString text = QString::fromStdString(view.text);
  switch (view.kind) {
    case View::Kind::container: {
      auto* box = new QWidget(parent);
      box->resize(sizeOf(view.frame));
      return box;
    }
    case View::Kind::textField: {
      if (view.editable) {
        auto* field = new QLineEdit(text, parent);
        field->setPlaceholderText(QString::fromStdString(view.placeholder));
        bound_.push_back({&view, field});
        if (onEdit_)
          QObject::connect(field, &QLineEdit::textEdited, [this, &view](const QString& edited) {
            view.text = edited.toStdString();
            onEdit_();
          });
        return field;
      }
      auto* label = new QLabel(text, parent);
      bound_.push_back({&view, label});
      label->setWordWrap(view.maximumNumberOfLines != 1);
      if (view.alignment == "center") label->setAlignment(Qt::AlignCenter);
      if (view.selectable) label->setTextInteractionFlags(Qt::TextSelectableByMouse);
      styleText(label, view);
      return label;
    }
    case View::Kind::button: {
      if (view.buttonType == View::ButtonType::checkbox) {
        auto* box = new QCheckBox(text, parent);
        box->setChecked(view.checked);
        bound_.push_back({&view, box});
        QObject::connect(box, &QCheckBox::clicked, [this, &view, box] {
          view.checked = box->isChecked();
          if (!view.action.empty())
            onControl_(view);
          else if (onEdit_)
            onEdit_();
        });
        return box;
      }
      auto* button = new QPushButton(text, parent);
      const QString shownName = QString::fromStdString(shownTitle(view.keyEquivalent, view.image));
      if (!view.image.empty()) {
        const QIcon icon = iconOf(view.image);
        button->setIcon(icon);
        button->setIconSize(sizeOf(view.frame) * 0.8);
        // An application without an icon is named instead (the key equivalent carries its name).
        if (icon.isNull() && view.text.empty()) button->setText(shownName);
      }
      button->setFlat(!view.bordered);
      button->setToolTip(shownName);
      styleText(button, view);
      QObject::connect(button, &QPushButton::clicked, [this, &view] { onControl_(view); });
      return button;
    }
    case View::Kind::imageView: {
      auto* image = new QLabel(parent);
      image->setPixmap(iconOf(view.image).pixmap(sizeOf(view.frame)));
      return image;
    }
    case View::Kind::slider: {
      auto* slider = new QSlider(Qt::Horizontal, parent);
      slider->setRange(rounded(view.minValue), rounded(view.maxValue));
      slider->setValue(rounded(view.value));
      if (view.numberOfTickMarks > 1) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(rounded((view.maxValue - view.minValue) / (view.numberOfTickMarks - 1)));
        slider->setSingleStep(slider->tickInterval());
        slider->setPageStep(slider->tickInterval());
      }
      bound_.push_back({&view, slider});
      QObject::connect(slider, &QSlider::sliderReleased, [this, &view, slider] {
        view.value = slider->value();
        onControl_(view);
      });
      return slider;
    }
    case View::Kind::popUpButton: {
      auto* popUp = new QComboBox(parent);
      for (const auto& entry : view.entries)
        popUp->addItem(iconOf(entry.image), QString::fromStdString(shownTitle(entry.title, entry.image)));
      popUp->setCurrentIndex(view.selectedIndex);
      bound_.push_back({&view, popUp});
      QObject::connect(popUp, &QComboBox::activated, [this, &view](int index) {
        view.selectedIndex = index;
        if (index >= 0 && static_cast<std::size_t>(index) < view.entries.size() &&
            !view.entries[static_cast<std::size_t>(index)].action.empty())
          onEntry_(view.entries[static_cast<std::size_t>(index)]);
        else if (onEdit_)
          onEdit_();
      });
      return popUp;
    }
  }
  return new QWidget(parent);
}

QWidget* ModelViews::build(View& view, QWidget* parent) {
  QWidget* widget = control(view, parent);
  widget->setObjectName(QString::fromStdString(view.identifier));
  if (parent)
    place(widget, view.frame, parent);
  else
    widget->resize(sizeOf(view.frame));
  for (auto& subview : view.subviews) build(subview, widget);
  return widget;
}

void ModelViews::readBack() {
  for (const auto& [model, widget] : bound_) {
    if (auto* field = qobject_cast<QLineEdit*>(widget)) model->text = field->text().toStdString();
    if (auto* box = qobject_cast<QCheckBox*>(widget)) model->checked = box->isChecked();
    if (auto* popUp = qobject_cast<QComboBox*>(widget)) model->selectedIndex = popUp->currentIndex();
    if (auto* slider = qobject_cast<QSlider*>(widget)) model->value = slider->value();
  }
}

void ModelViews::showModelText() {
  for (const auto& [model, widget] : bound_)
    if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(QString::fromStdString(model->text));
}

}  // namespace routelle::linux_desktop
