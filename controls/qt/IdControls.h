// Combo and list boxes that show the names of an id list and hand back ids. Both fill themselves
// from the list's names when made; SetId shows an id (0: the default id, or the first name when
// that is 0 too), GetId reads the chosen name back into an id.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <cstdint>
#include <memory>

#include "core/TarnStringList.h"

class TIdObjectList;

class TIdComboBox : public QComboBox {
    Q_OBJECT

public:
    // flags are the list's own, passed to its GetStringList.
    TIdComboBox(QWidget* parent, const char* objectName, const QString& label,
                const TIdObjectList& list, uint32_t flags, uint32_t defaultId = 0);

    void SetId(uint32_t id);
    // The id of the name shown; 0 when it names nothing.
    uint32_t GetId() const;
    void GetId(uint32_t& buffer) const { buffer = GetId(); }

private:
    const TIdObjectList& list;
    std::unique_ptr<TTarnStringList> names;
    uint32_t defaultId;
};

class TIdListBox : public QListWidget {
    Q_OBJECT

public:
    TIdListBox(QWidget* parent, const char* objectName, const QString& label,
               const TIdObjectList& list, uint32_t flags, uint32_t defaultId = 0);

    void SetId(uint32_t id);
    // With nothing selected the buffer keeps the id it held.
    void GetId(uint32_t& buffer) const;

private:
    const TIdObjectList& list;
    std::unique_ptr<TTarnStringList> names;
    uint32_t defaultId;
};
