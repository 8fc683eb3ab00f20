#include "FakeObjects.h"

#include "FakeVariants.h"
#include "com/ComApplication.h"

namespace kalvex::fake {

namespace {

// Entities share the ids of the members every entity has; the members of a kind follow.
class EntityObject : public Object {
public:
    EntityObject(Cad& cad, const std::string& handle)
        : Object(cad, "Entity", 10), m_handle(handle), m_kind(cad.drawing.entity(handle).kind) {
        commonMembers();
        if (m_kind == Kind::Text)
            textMembers();
        else if (m_kind == Kind::Attribute)
            attributeMembers();
        else if (m_kind == Kind::Insert)
            insertMembers();
    }

private:
    Entity& entity() { return m_cad.drawing.entity(m_handle); }
    Entity& entityForChange() { return m_cad.drawing.entityForChange(m_handle); }

    void commonMembers() {
        property("Handle", [this](VARIANT& out) { setString(out, entity().handle); });
        property("Layer", [this](VARIANT& out) { setString(out, entity().layer); });
        property("ObjectID", [this](VARIANT& out) { setInt64(out, entity().objectId); });
        property("EntityName",
                 [this](VARIANT& out) { setString(out, namesOf(entity().kind).entityName); });
        method("Copy", 0, [this](const Arguments&, VARIANT& out) {
            setObject(out, new EntityObject(m_cad, m_cad.drawing.copy(m_handle)));
        });
        method("Delete", 0,
               [this](const Arguments&, VARIANT&) { entityForChange().erased = true; });
        method("Update", 0, [this](const Arguments&, VARIANT&) { ++entity().updates; });
    }

    enum class Points { ReadOnly, ReadWrite };

    void textAndPoints(Points points) {
        property(
            "TextString", [this](VARIANT& out) { setString(out, entity().text); },
            [this](const VARIANT& value) { entityForChange().text = readString(value); });
        Setter setInsertion, setAlignment;
        if (points == Points::ReadWrite) {
            setInsertion = [this](const VARIANT& value) {
                entityForChange().insertion = readPoint(value);
            };
            setAlignment = [this](const VARIANT& value) {
                entityForChange().alignmentPoint = readPoint(value);
            };
        }
        property(
            "InsertionPoint",
            [this](VARIANT& out) { setPoint(out, entity().insertion, entity().pointIsArray); },
            setInsertion);
        property(
            "TextAlignmentPoint",
            [this](VARIANT& out) { setPoint(out, entity().alignmentPoint, entity().pointIsArray); },
            setAlignment);
    }

    void textMembers() {
        numberFrom(1000);
        textAndPoints(Points::ReadWrite);
        property(
            "Alignment", [this](VARIANT& out) { setInt(out, entity().alignment); },
            [this](const VARIANT& value) { entityForChange().alignment = readInt(value); });
    }

    void attributeMembers() {
        numberFrom(1100);
        textAndPoints(Points::ReadOnly);
        property("TagString", [this](VARIANT& out) { setString(out, entity().tag); });
        property("Alignment", [this](VARIANT& out) { setInt(out, entity().alignment); });
    }

    void insertMembers() {
        numberFrom(1200);
        property("HasAttributes",
                 [this](VARIANT& out) { setBool(out, !entity().attributes.empty()); });
        method("GetAttributes", 0, [this](const Arguments&, VARIANT& out) {
            std::vector<IDispatch*> attributes;
            for (const std::string& handle : entity().attributes)
                attributes.push_back(new EntityObject(m_cad, handle));
            setObjects(out, attributes);
            for (IDispatch* attribute : attributes)
                attribute->Release(); // the array holds them now
        });
        property("InsertionPoint", [this](VARIANT& out) {
            setPoint(out, entity().insertion, entity().pointIsArray);
        });
        property("Name", [this](VARIANT& out) { setString(out, entity().blockName); });
    }

    std::string m_handle;
    Kind m_kind;
};

class LayerObject : public Object {
public:
    LayerObject(Cad& cad, std::size_t index) : Object(cad, "Layer", 400) {
        property("Name", [this, index](VARIANT& out) {
            setString(out, m_cad.drawing.layers().at(index).name);
        });
        property("Lock", [this, index](VARIANT& out) {
            setBool(out, m_cad.drawing.layers().at(index).locked);
        });
    }
};

class LayersObject : public Object {
public:
    explicit LayersObject(Cad& cad) : Object(cad, "Layers", 300) {
        auto& layers = cad.drawing.layers();
        collection([&layers] { return layers.size(); },
                   [this](std::size_t index) { return new LayerObject(m_cad, index); });
    }
};

class SelectionSetObject : public Object {
public:
    SelectionSetObject(Cad& cad, std::string name)
        : Object(cad, "SelectionSet", 600), m_name(std::move(name)) {
        property("Name", [this](VARIANT& out) { setString(out, set().name); });
        collection(
            [this] { return set().handles.size(); },
            [this](std::size_t index) { return new EntityObject(m_cad, set().handles[index]); });
        method("Clear", 0, [this](const Arguments&, VARIANT&) { set().handles.clear(); });
        method("Delete", 0,
               [this](const Arguments&, VARIANT&) { m_cad.drawing.deleteSelectionSet(m_name); });
        selectionMembers();
    }

private:
    SelectionSet& set() { return m_cad.drawing.selectionSet(m_name); }

    void waitForPick() {
        const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(m_cad.pickPatienceMs);
        while (!m_cad.drawing.pickQueued() && GetTickCount64() < until) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
            Sleep(10);
        }
    }

    void selectionMembers() {
        method("SelectOnScreen", 2, [this](const Arguments& arguments, VARIANT&) {
            m_cad.toolMinimisedWhilePicking = IsIconic(m_cad.tool());
            m_cad.cadInFrontWhilePicking = GetForegroundWindow() == m_cad.mainWindow;
            waitForPick();
            m_cad.drawing.pickOnScreen(m_name, readFilter(*arguments[0], *arguments[1]));
        });
        method("Select", 5, [this](const Arguments& arguments, VARIANT&) {
            if (readInt(*arguments[0]) != 5 || !isMissing(*arguments[1]) ||
                !isMissing(*arguments[2]))
                throw Refusal("Only selecting all, without points, is served.");
            m_cad.drawing.selectAll(m_name, readFilter(*arguments[3], *arguments[4]));
        });
    }

    std::string m_name;
};

class SelectionSetsObject : public Object {
public:
    explicit SelectionSetsObject(Cad& cad) : Object(cad, "SelectionSets", 500) {
        auto& sets = cad.drawing.selectionSets();
        collection([&sets] { return sets.size(); },
                   [this, &sets](std::size_t index) {
                       return new SelectionSetObject(m_cad, sets[index].name);
                   });
        method("Add", 1, [this, &sets](const Arguments& arguments, VARIANT& out) {
            const std::string name = readString(*arguments[0]);
            for (const SelectionSet& set : sets)
                if (set.name == name)
                    throw Refusal("A selection set named " + name + " exists already.");
            sets.push_back({name, {}});
            setObject(out, new SelectionSetObject(m_cad, name));
        });
    }
};

class BlockItemObject : public Object {
public:
    BlockItemObject(Cad& cad, BlockItem item) : Object(cad, "BlockItem", 900) {
        property("EntityName", [item](VARIANT& out) { setString(out, item.entityName); });
        property("TagString", [item](VARIANT& out) { setString(out, tagOf(item)); });
        property("PromptString", [item](VARIANT& out) {
            tagOf(item);
            setString(out, item.prompt);
        });
    }

private:
    static std::string tagOf(const BlockItem& item) {
        if (item.entityName != "AcDbAttributeDefinition")
            throw Refusal("The item is no attribute definition.");
        return item.tag;
    }
};

class BlockObject : public Object {
public:
    BlockObject(Cad& cad, std::size_t index) : Object(cad, "Block", 800) {
        const Block& block = cad.drawing.blocks().at(index);
        property("Name", [&block](VARIANT& out) { setString(out, block.name); });
        collection([&block] { return block.items.size(); },
                   [this, &block](std::size_t item) {
                       return new BlockItemObject(m_cad, block.items[item]);
                   });
    }
};

class BlocksObject : public Object {
public:
    explicit BlocksObject(Cad& cad) : Object(cad, "Blocks", 700) {
        auto& blocks = cad.drawing.blocks();
        collection([&blocks] { return blocks.size(); },
                   [this](std::size_t index) { return new BlockObject(m_cad, index); });
    }
};

class DocumentObject : public Object {
public:
    explicit DocumentObject(Cad& cad) : Object(cad, "Document", 200) {
        property("Layers", [this](VARIANT& out) { setObject(out, new LayersObject(m_cad)); });
        property("SelectionSets",
                 [this](VARIANT& out) { setObject(out, new SelectionSetsObject(m_cad)); });
        property("Blocks", [this](VARIANT& out) { setObject(out, new BlocksObject(m_cad)); });
        method("HandleToObject", 1, [this](const Arguments& arguments, VARIANT& out) {
            setObject(out, new EntityObject(m_cad, readString(*arguments[0])));
        });
        method("GetVariable", 1, [this](const Arguments& arguments, VARIANT& out) {
            if (readString(*arguments[0]) != "VIEWSIZE")
                throw Refusal("Unknown system variable.");
            setDouble(out, m_cad.drawing.viewHeight);
        });
        // A 64-bit window handle here, a 32-bit one on the application: the CAD has both.
        property("HWND", [this](VARIANT& out) {
            setInt64(out, reinterpret_cast<std::int64_t>(m_cad.documentWindow));
        });
        method("Regen", 1, [this](const Arguments& arguments, VARIANT&) {
            if (readInt(*arguments[0]) != 0)
                throw Refusal("Only the active viewport is regenerated here.");
            ++m_cad.drawing.regens;
        });
        method("StartUndoMark", 0,
               [this](const Arguments&, VARIANT&) { ++m_cad.drawing.undoMarks; });
    }
};

class ApplicationObject : public Object {
public:
    explicit ApplicationObject(Cad& cad) : Object(cad, "Application", 100) {
        ++cad.log.applicationsCreated;
        cad.noteConnect();
        property("HWND", [this](VARIANT& out) {
            setInt(out, static_cast<int>(reinterpret_cast<std::intptr_t>(m_cad.mainWindow)));
        });
        property("ActiveDocument",
                 [this](VARIANT& out) { setObject(out, new DocumentObject(m_cad)); });
        method("ZoomWindow", 2, [this](const Arguments& arguments, VARIANT&) {
            Drawing& drawing = m_cad.drawing;
            drawing.zoomLowerLeft = readPoint(*arguments[0]);
            drawing.zoomUpperRight = readPoint(*arguments[1]);
            drawing.viewHeight = drawing.zoomUpperRight.y - drawing.zoomLowerLeft.y;
            ++drawing.zooms;
        });
    }

private:
    bool offers(REFIID iid) const override {
        return iid == com::kApplicationInterface || Object::offers(iid);
    }
};

} // namespace

IDispatch* newApplication(Cad& cad) {
    return new ApplicationObject(cad);
}

} // namespace kalvex::fake
