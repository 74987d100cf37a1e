// The amount, date and number fields. Each keeps the text it is typed with until it loses the
// focus (or Enter is pressed), and then rewrites itself to what its value reads back as: 12.5*2
// becomes 25.00, 3/5 becomes 03/05/yy, a number outside its range becomes the nearest limit.
#pragma once

#include <QLineEdit>
#include <cstdint>

#include "controls/EditText.h"
#include "core/Date.h"

// An amount: any arithmetic of amounts may be typed; what cannot be evaluated reads as 0.00.
class TEditFloat : public QLineEdit {
    Q_OBJECT

public:
    // Wide fields keep the value as a double, so that every cent a record can hold survives;
    // others keep the 32-bit float their buffer holds and rewrite themselves accordingly.
    TEditFloat(QWidget* parent, const char* objectName, const QString& label, bool wide = false);

    void SetValue(float units);
    float GetValue() const;
    void SetAmount(double units);
    double GetAmount() const;
};

// A date written month/day/year; text that does not parse reads as no date.
class TEditDate : public QLineEdit {
    Q_OBJECT

public:
    TEditDate(QWidget* parent, const char* objectName, const QString& label, int textLimit = 12);

    void SetDate(TDate date);
    TDate GetDate() const;
};

// An unsigned number within [minimum, maximum] when maximum is not 0; a number typed outside the
// range beeps and becomes the nearest limit.
class TEditUnsigned : public QLineEdit {
    Q_OBJECT

public:
    TEditUnsigned(QWidget* parent, const char* objectName, const QString& label, int textLimit,
                  uint32_t minimum = 0, uint32_t maximum = 0);

    void SetValue(uint32_t value);
    uint32_t GetValue() const;

private:
    TUnsignedRange range;
};
