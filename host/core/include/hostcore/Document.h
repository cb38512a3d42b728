// The document: layers, the art tree, dictionaries, arrays, art sets, art
// styles and the undo journal. Every operation takes and answers the
// host's opaque handles and an error code, so the suites are thin and a
// stale or foreign handle is refused in one place.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "hostapi/HostTypes.h"
#include "hostcore/ArtModel.h"
#include "hostcore/Handles.h"

namespace hostcore {

class Document {
public:
    Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // ---- Art tree -----------------------------------------------------
    AIErr newArt(AIArtType type, AIPaintOrder order, AIArtHandle prep, AIArtHandle* newArt);
    AIErr disposeArt(AIArtHandle art);
    // Deep copy (plug-in art with its edit and result groups and every
    // dictionary in the subtree) placed at the paint order.
    AIErr duplicateArt(AIArtHandle art, AIPaintOrder order, AIArtHandle prep, AIArtHandle* newArt);
    AIErr reorderArt(AIArtHandle art, AIPaintOrder order, AIArtHandle prep);
    bool validArt(AIArtHandle art) const;
    AIErr artType(AIArtHandle art, AIArtType* type) const;
    // A layer's own group has no parent; edit and result groups answer
    // their plug-in art.
    AIErr artParent(AIArtHandle art, AIArtHandle* parent) const;
    AIErr firstChild(AIArtHandle art, AIArtHandle* child) const;
    AIErr sibling(AIArtHandle art, AIArtHandle* sibling) const;
    AIErr priorSibling(AIArtHandle art, AIArtHandle* sibling) const;
    // Art without extent answers an inverted rectangle of infinities
    // (left +inf, right -inf, top -inf, bottom +inf) that overlaps no
    // finite rectangle and vanishes in unions.
    AIErr artBounds(AIArtHandle art, AIRealRect* bounds) const;
    AIErr userAttr(AIArtHandle art, AIArtUserAttr which, AIArtUserAttr* attr) const;
    AIErr setUserAttr(AIArtHandle art, AIArtUserAttr which, AIArtUserAttr attr);
    // The name given to the art; empty when it has its default name.
    AIErr artName(AIArtHandle art, std::string* name) const;
    AIErr setArtName(AIArtHandle art, const char* name);
    AIErr transformArt(AIArtHandle art, const AIRealMatrix& matrix, AIReal lineScale, int32_t flags);
    // Every art has an id unique in the document by which scripts name it:
    // one made up from its type and a counter, or the one set when read in.
    // Ids are not journaled; art revived by undo keeps its own.
    AIErr artId(AIArtHandle art, std::string* id) const;
    // Refuses an empty id and one that other art holds.
    AIErr setArtId(AIArtHandle art, const std::string& id);
    // Null when no live art has the id.
    AIArtHandle artById(const std::string& id) const;
    // A detached deep copy of the art and its subtree, ids included.
    AIErr copyArt(AIArtHandle art, ArtCopy* copy) const;
    // New art built from a copy (as read from a file), placed at the paint
    // order; each piece takes the copy's id when no other art holds it.
    AIErr placeCopy(const ArtCopy& copy, AIPaintOrder order, AIArtHandle prep, AIArtHandle* newArt);
    // Leaf kinds (placed, raster, text, foreign, ...): matrix, box, payload.
    AIErr leafData(AIArtHandle art, LeafData* leaf) const;
    AIErr setLeafData(AIArtHandle art, const LeafData& leaf);

    // ---- Paths and groups -----------------------------------------------
    AIErr segmentCount(AIArtHandle path, int16_t* count) const;
    AIErr setSegmentCount(AIArtHandle path, int16_t count);
    AIErr segments(AIArtHandle path, int16_t first, int16_t count, AIPathSegment* out) const;
    AIErr setSegments(AIArtHandle path, int16_t first, int16_t count, const AIPathSegment* in);
    AIErr pathClosed(AIArtHandle path, AIBoolean* closed) const;
    AIErr setPathClosed(AIArtHandle path, AIBoolean closed);
    AIErr groupClipped(AIArtHandle group, AIBoolean* clipped) const;
    AIErr setGroupClipped(AIArtHandle group, AIBoolean clipped);

    // ---- Layers (the first is the topmost) --------------------------------
    // Appends a layer below the others, or puts it above them; the first
    // layer made becomes current.
    enum class LayerPlace { Bottom, Top };
    AIErr addLayer(const char* title, AILayerHandle* layer, LayerPlace place = LayerPlace::Bottom);
    // A sublayer on top inside the given layer's group.
    AIErr addSublayer(AILayerHandle parent, const char* title, AILayerHandle* layer);
    AIErr countLayers(int32_t* count) const;
    AIErr firstLayer(AILayerHandle* layer) const;
    AIErr nextLayer(AILayerHandle layer, AILayerHandle* next) const;
    AIErr currentLayer(AILayerHandle* layer) const;
    AIErr setCurrentLayer(AILayerHandle layer);
    AIErr layerTitle(AILayerHandle layer, std::string* title) const;
    // Visible (editable) only when the layer and every layer around it is.
    AIErr layerVisible(AILayerHandle layer, AIBoolean* visible) const;
    AIErr setLayerVisible(AILayerHandle layer, AIBoolean visible);
    AIErr layerEditable(AILayerHandle layer, AIBoolean* editable) const;
    AIErr setLayerEditable(AILayerHandle layer, AIBoolean editable);
    // The innermost layer whose group holds the art.
    AIErr layerOfArt(AIArtHandle art, AILayerHandle* layer) const;
    // The layer's group; a null layer means the current layer.
    AIErr firstArtOfLayer(AILayerHandle layer, AIArtHandle* art) const;
    AIErr isLayerGroup(AIArtHandle art, AIBoolean* isLayerGroup) const;
    AIErr changeLayerToGroup(AILayerHandle layer, AIArtHandle art);

    // ---- Artboard ---------------------------------------------------------
    // The page a document was read with; none for a new document.
    const std::optional<AIRealRect>& artboard() const { return artboard_; }
    void setArtboard(const std::optional<AIRealRect>& artboard) { artboard_ = artboard; }

    // ---- Dictionaries (keys are the host core's key indices) ----------------
    // Hands out a reference the caller releases.
    AIErr artDictionary(AIArtHandle art, AIDictionaryRef* dictionary);
    AIErr addDictionaryRef(AIDictionaryRef dictionary);
    AIErr releaseDictionary(AIDictionaryRef dictionary);
    AIErr entry(AIDictionaryRef dictionary, uint32_t key, const DictValue** value) const;
    AIErr setEntry(AIDictionaryRef dictionary, uint32_t key, DictValue value);
    AIErr deleteEntry(AIDictionaryRef dictionary, uint32_t key);
    AIErr copyArtToEntry(AIDictionaryRef dictionary, uint32_t key, AIArtHandle art);
    AIErr copyEntryToArt(AIDictionaryRef dictionary, uint32_t key, AIPaintOrder order, AIArtHandle prep,
                         AIArtHandle* art);

    // ---- Arrays -----------------------------------------------------------
    AIErr createArray(ArrayValues values, AIArrayRef* array);
    AIErr addArrayRef(AIArrayRef array);
    AIErr releaseArray(AIArrayRef array);
    AIErr arrayValues(AIArrayRef array, ArrayValues** values);

    // ---- Art sets -----------------------------------------------------------
    AIErr newArtSet(AIArtSet* set);
    AIErr disposeArtSet(AIArtSet set);
    // The document's art matching any spec, layer by layer, depth first
    // from the top; inside groups and plug-in art's edit groups, never in
    // result groups. Layers' own groups are not art of their own.
    AIErr matchArt(const AIArtSpec* specs, int16_t count, AIArtSet set);
    AIErr artSetCount(AIArtSet set, int32_t* count) const;
    AIErr artSetMember(AIArtSet set, int32_t index, AIArtHandle* art) const;

    // ---- Styles ---------------------------------------------------------------
    // Equal styles share one handle.
    AIErr newStyle(const AIPathStyle& pathStyle, const AIPathStyleMap& paintData, AIArtStyleHandle* style);
    AIErr styleAttributes(AIArtStyleHandle style, AIPathStyle* pathStyle, AIPathStyleMap* paintData) const;
    AIErr artStyle(AIArtHandle art, AIArtStyleHandle* style) const;
    // A null style leaves the art without a style of its own.
    AIErr setArtStyle(AIArtHandle art, AIArtStyleHandle style);
    // Art without a style of its own reads as the cleared path style.
    AIErr pathStyle(AIArtHandle art, AIPathStyle* style) const;
    AIErr setPathStyle(AIArtHandle art, const AIPathStyle& style);
    static AIPathStyle clearedPathStyle();
    // Between handles and the style indices that art props and copies hold;
    // kNoIndex stands for no style of its own (a null handle).
    AIArtStyleHandle styleHandle(uint32_t index) const;
    AIErr styleIndex(AIArtStyleHandle style, uint32_t* index) const;

    // ---- Plug-in art ------------------------------------------------------------
    AIErr attachPluginGroup(AIArtHandle art, uint32_t group, int32_t major, int32_t minor);
    AIErr pluginGroupOf(AIArtHandle art, uint32_t* group) const;
    AIErr pluginVersion(AIArtHandle art, int32_t* major, int32_t* minor) const;
    AIErr editGroup(AIArtHandle art, AIArtHandle* group) const;
    AIErr resultGroup(AIArtHandle art, AIArtHandle* group) const;
    AIErr markDirty(AIArtHandle art);
    // Live plug-in art marked dirty, in the order it was marked.
    std::vector<AIArtHandle> dirtyPluginArt() const;
    AIErr clearDirty(AIArtHandle art);

    // ---- Undo journal -------------------------------------------------------------
    // Changes are journaled only inside a user step; a change made outside
    // one cannot be replayed around, so it clears the undo history.
    void beginUserStep();
    // A silent step joins the step before it (or is kept without undo).
    void endUserStep();
    bool userStepOpen() const { return stepOpen_; }
    AIErr setSilent(bool silent);
    // Marks the present point of the open step (the start of the step
    // until set); revertToMark undoes everything after it, keeping the mark.
    void setUndoMark();
    void revertToMark();
    bool undo();
    bool redo();
    size_t undoDepth() const { return done_.size(); }
    size_t redoDepth() const { return undone_.size(); }
    // Records kept for undo and redo, over all steps.
    size_t journalSize() const;
    void setUndoLimit(size_t steps);
    void clearUndoHistory();

    // ---- Handles ------------------------------------------------------------------
    AIArtHandle artHandle(NodeIndex node) const;
    AILayerHandle layerHandle(NodeIndex node) const;
    AIErr findArt(AIArtHandle art, NodeIndex* node) const;
    AIErr findLayer(AILayerHandle layer, NodeIndex* node) const;  // null: refused
    AIErr findDictionary(AIDictionaryRef dictionary, uint32_t* index) const;

    friend std::vector<std::string> checkDocument(const Document& document);
    friend std::vector<std::string> checkNothingHeld(const Document& document);

private:
    // Art made in a step carries the step's serial; a step that later
    // steps joined spans their serials too.
    struct UserStep {
        std::vector<JournalRecord> records;
        bool silent = false;
        uint32_t firstSerial = 0;
        uint32_t lastSerial = 0;
    };

    // Tree primitives (Document.cpp).
    // The node takes `id` when it is free, else a made-up one.
    NodeIndex createNode(AIArtType type, const std::string& id = {});
    std::string freshId(AIArtType type);
    void attach(NodeIndex node, Place place);
    void detach(NodeIndex node);
    Place placeOf(NodeIndex node) const;
    AIErr resolvePlace(AIPaintOrder order, AIArtHandle prep, AIArtType type, Place* place) const;
    void placeNew(NodeIndex node, Place place);
    bool isContainer(NodeIndex node) const;
    NodeIndex layerNodeOf(NodeIndex node) const;
    NodeIndex currentLayerNode() const;
    // After every change of the layer list, so the walk through it is linear.
    void numberLayers();
    AIErr findPath(AIArtHandle art, NodeIndex* node) const;
    AIErr findPluginArt(AIArtHandle art, NodeIndex* node) const;
    template <class F> void forSubtree(NodeIndex root, F&& visit) const;
    std::vector<NodeIndex> subtree(NodeIndex root) const;
    ArtCopy copyOf(NodeIndex node) const;
    NodeIndex build(const ArtCopy& copy, bool keepIds = false);
    NodeIndex clone(NodeIndex source);
    uint32_t ensureDictionary(NodeIndex node);
    void setSubtreeLife(NodeIndex root, bool live);
    void collect(NodeIndex node);
    void freeNode(NodeIndex node);

    // Journaled changes (Journal.cpp).
    void record(JournalRecord record);
    // Art made in the open step after its mark: undoing or reverting takes
    // it away whole, so the state it passes through need not be kept.
    bool bornSinceMark(NodeIndex node) const;
    bool bornIn(const UserStep& step, NodeIndex node) const;
    // Drops what undo and redo of a closed step never need: all but the
    // first record of each node's properties, geometry and entries, those
    // of art the step made, and the records of art it made and disposed of.
    void compact(UserStep& step);
    void moveNode(NodeIndex node, Place place);
    ArtProps& editProps(NodeIndex node);
    PathGeometry& editGeometry(NodeIndex node);
    void writeEntry(uint32_t dictionary, uint32_t key, std::optional<DictValue> value);
    void apply(JournalRecord& record);
    void pinRecord(const JournalRecord& record, int delta);
    void discardRecords(std::vector<JournalRecord>& records);

    // Geometry (Geometry.cpp).
    AIRealRect boundsOf(NodeIndex node) const;
    void transformNode(NodeIndex node, const AIRealMatrix& matrix, AIReal lineScale, int32_t flags);

    SlotTable<ArtNode> nodes_;
    std::vector<NodeIndex> layers_;   // top-level layers' groups, topmost first
    std::unordered_map<NodeIndex, size_t> layerPositions_;  // index in layers_, kept by numberLayers
    NodeIndex current_ = kNoNode;
    SlotTable<Dictionary> dictionaries_;
    SlotTable<ArrayObject> arrays_;
    SlotTable<std::vector<AIArtHandle>> artSets_;
    std::vector<ArtStyle> styles_;
    std::unordered_map<std::string, uint32_t> styleIndex_;
    std::vector<NodeIndex> dirtyOrder_;
    std::unordered_map<std::string, NodeIndex> ids_;
    std::optional<AIRealRect> artboard_;
    uint64_t idCounter_ = 0;

    std::deque<UserStep> done_;
    std::vector<UserStep> undone_;
    bool stepOpen_ = false;
    size_t mark_ = 0;  // record index in the open step
    uint32_t markSerial_ = 0;   // art born from this serial on came after the mark
    uint32_t stepSerials_ = 0;  // serials handed out so far
    size_t undoLimit_ = 200;
};

}  // namespace hostcore
