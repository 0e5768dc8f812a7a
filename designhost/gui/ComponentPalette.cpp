// TComponentPalette: the component palette of the design window.
#include "designhost/gui/ComponentPalette.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "host/dataclx/DataSource.h"
#include "host/designide/Palette.h"
#include "host/rtl/Classes.h"

void RegisterPlatformComponents() {
  for (const TPaletteEntry& entry : Palette())
    if (entry.ComponentClass == TDataSource::StaticClass()) return;
  RegisterComponents("Data Access", {TDataSource::StaticClass()});
}

TComponentPalette::TComponentPalette(QWidget* Parent) : QTabWidget(Parent) {
  setDocumentMode(true);
  Reload();
}

void TComponentPalette::Reload() {
  while (count() > 0) {
    std::unique_ptr<QWidget> page(widget(0));
    removeTab(0);
  }
  for (const std::string& pageName : PalettePages()) {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    for (const TPaletteEntry& entry : Palette()) {
      if (!SameText(entry.Page, pageName)) continue;
      auto* button = new QToolButton(page);
      TClass componentClass = entry.ComponentClass;
      button->setText(QString::fromStdString(componentClass->Name));
      button->setObjectName(QString::fromStdString(componentClass->Name));
      button->setToolTip(QStringLiteral("Add a %1 to the form").arg(button->text()));
      button->setFocusPolicy(Qt::StrongFocus);
      connect(button, &QToolButton::clicked, this, [this, componentClass] {
        if (OnPick) OnPick(componentClass);
      });
      layout->addWidget(button);
    }
    layout->addStretch(1);
    addTab(page, QString::fromStdString(pageName));
  }
}

QAbstractButton* TComponentPalette::ButtonOf(const std::string& ClassName) const {
  for (int i = 0; i < count(); ++i)
    if (auto* button = widget(i)->findChild<QToolButton*>(QString::fromStdString(ClassName))) return button;
  return nullptr;
}
