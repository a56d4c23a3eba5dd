// The exercise window "Dosavo - Questions and Exercises".
#pragma once

#include <QWidget>

class QLineEdit;

namespace trainee {

class Dosavo;

class Frmquestion : public QWidget {
  Q_OBJECT
 public:
  explicit Frmquestion(Dosavo& app, QWidget* parent = nullptr);
  QLineEdit* txtanswer = nullptr;

  void Form_Load();

 private:
  Dosavo& app_;
};

}  // namespace trainee
