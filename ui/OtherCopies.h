#pragma once

#include "schemas/SchemaTable.h"
#include "ui/Form.h"

// What another copy of the program stored while this one is open takes the place of
// every entry this copy has not changed; the boxes show it where its schema is shown.
void takeStoredSchemas(SchemaTable& table, const FormControls& controls);
