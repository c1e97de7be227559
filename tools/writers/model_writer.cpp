// model_writer.cpp: every model chunk, field by field, in the order the reader takes them.
#include "writers/model_writer.h"

namespace {

int32_t countOf(size_t size) {
    return static_cast<int32_t>(size);
}

void putVector(ChunkWriter& w, const Vec3F& v) {
    putFloat(w, v.x);
    putFloat(w, v.y);
    putFloat(w, v.z);
}

void putFaces(ChunkWriter& w, const std::vector<MeshFace>& faces, size_t count) {
    for (size_t i = 0; i < count; ++i)
        for (int k = 0; k < 3; ++k)
            putInt32(w, i < faces.size() ? faces[i].v[k] : 0);
}

void putOptionalString(ChunkWriter& w, const ModelString& text) {
    if (text)
        putStringChunk(w, *text);
}

} // namespace

void writeMaterialChunk(ChunkWriter& w, const Material& material) {
    beginChunk(w, "MTR1");
    putStringChunk(w, material.name.value_or(""));
    beginChunk(w, "INFO");
    putBytes(w, material.colour, 4);
    for (int32_t value : material.values)
        putInt32(w, value);
    putInt32(w, countOf(material.extraStrings.size()));
    endChunk(w);
    for (const ModelString& extra : material.extraStrings)
        putStringChunk(w, extra.value_or(""));
    endChunk(w);
}

void writeTransformChunk(ChunkWriter& w, const ObjectTransform& transform) {
    beginChunk(w, "TRA1");
    putOptionalString(w, transform.name);
    beginChunk(w, "INFO");
    putFloats(w, transform.rest.data(), 16);
    putInt32(w, transform.parent);
    endChunk(w);
    endChunk(w);
}

void writeSkinGroupChunk(ChunkWriter& w, const SkinGroup& group) {
    beginChunk(w, "ZTR1");
    putInt32(w, group.transformIndex);
    putInt32(w, countOf(group.vertices.size()));
    for (int32_t v : group.vertices)
        putInt32(w, v);
    const bool weighted = group.hasWeights != 0;
    putInt32(w, weighted ? 1 : 0);
    if (weighted)
        for (size_t i = 0; i < group.vertices.size(); ++i)
            putFloat(w, i < group.weights.size() ? group.weights[i] : 0.0f);
    endChunk(w);
}

void writeMorphGroupChunk(ChunkWriter& w, const MorphGroup& group) {
    beginChunk(w, "ZMR1");
    putInt32(w, group.value);
    putInt32(w, countOf(group.vertices.size()));
    for (int32_t v : group.vertices)
        putInt32(w, v);
    for (size_t i = 0; i < group.vertices.size(); ++i)
        putVector(w, i < group.offsets.size() ? group.offsets[i] : Vec3F{});
    endChunk(w);
}

void writeMeshInfoChunk(ChunkWriter& w, const Mesh& mesh) {
    const size_t faces = mesh.faces.size();
    beginChunk(w, "INFO");
    putInt32(w, mesh.visible);
    putInt32(w, mesh.transformIndex);
    putInt32(w, mesh.reserved);
    putInt32(w, countOf(mesh.vertices.size()));
    putInt32(w, countOf(mesh.pairs.size()));
    putInt32(w, countOf(mesh.vectors.size()));
    putInt32(w, countOf(faces));
    putInt32(w, 0); // strips are never written
    putInt32(w, countOf(mesh.skinGroups.size()));
    putInt32(w, countOf(mesh.morphGroups.size()));
    for (const Vec3F& v : mesh.vertices)
        putVector(w, v);
    for (const MeshPair& pair : mesh.pairs) {
        putUint32(w, pair.a);
        putUint32(w, pair.b);
    }
    for (const Vec3F& v : mesh.vectors)
        putVector(w, v);
    for (size_t i = 0; i < faces; ++i)
        putInt32(w, i < mesh.faceMaterials.size() ? mesh.faceMaterials[i] : 0);
    putFaces(w, mesh.faces, faces);
    putFaces(w, mesh.faceSet2, faces);
    putFaces(w, mesh.faceSet3, faces);
    putVector(w, mesh.vectorA);
    putVector(w, mesh.vectorB);
    endChunk(w);
}

void writeMeshChunk(ChunkWriter& w, const Mesh& mesh) {
    beginChunk(w, "MSH1");
    writeMeshInfoChunk(w, mesh);
    for (const SkinGroup& group : mesh.skinGroups)
        writeSkinGroupChunk(w, group);
    for (const MorphGroup& group : mesh.morphGroups)
        writeMorphGroupChunk(w, group);
    endChunk(w);
}

void writeLodChunk(ChunkWriter& w, const ObjectLod& lod) {
    beginChunk(w, "LOD1");
    beginChunk(w, "INFO");
    putInt32(w, lod.lodValue);
    putInt32(w, countOf(lod.meshes.size()));
    endChunk(w);
    for (const Mesh& mesh : lod.meshes)
        writeMeshChunk(w, mesh);
    endChunk(w);
}

void writeSkeletonChunk(ChunkWriter& w, const Skeleton& skeleton) {
    beginChunk(w, "PHY1");
    beginChunk(w, "INFO");
    putInt32(w, countOf(skeleton.joints.size()));
    putInt32(w, countOf(skeleton.links.size()));
    putInt32(w, countOf(skeleton.indices.size()));
    putInt32(w, skeleton.value);
    for (int32_t index : skeleton.indices)
        putInt32(w, index);
    endChunk(w);
    for (const SkeletonJoint& joint : skeleton.joints) {
        beginChunk(w, "JNT1");
        putInt32(w, joint.valueA);
        putInt32(w, joint.valueB);
        putInt32(w, joint.valueC);
        putInt32(w, countOf(joint.values.size()));
        for (int32_t value : joint.values)
            putInt32(w, value);
        endChunk(w);
    }
    for (const SkeletonLink& link : skeleton.links) {
        beginChunk(w, "LNK1");
        for (int32_t value : link.values)
            putInt32(w, value);
        putBytes(w, link.bytes, 8);
        putInt32(w, link.valueB);
        putVector(w, link.vector);
        putInt32(w, link.valueC);
        putBytes(w, &link.flag, 1);
        endChunk(w);
    }
    endChunk(w);
}

void writeObjectInfoChunk(ChunkWriter& w, const ModelObject& object) {
    const int32_t transforms = countOf(object.transforms.size());
    const int32_t first = object.transformCount1 < 0            ? 0
                          : object.transformCount1 > transforms ? transforms
                                                                : object.transformCount1;
    beginChunk(w, "INFO");
    putInt32(w, countOf(object.lods.size()));
    putInt32(w, countOf(object.boxes.size()));
    putInt32(w, object.reservedCount);
    putInt32(w, countOf(object.materials.size()));
    putInt32(w, first);
    putInt32(w, transforms - first);
    putBytes(w, object.name, kObjectNameBytes);
    endChunk(w);
}

void writeObjectChunk(ChunkWriter& w, const ModelObject& object) {
    beginChunk(w, "OBJ1");
    writeObjectInfoChunk(w, object);
    putOptionalString(w, object.string);
    for (const Material& material : object.materials)
        writeMaterialChunk(w, material);
    for (const ObjectTransform& transform : object.transforms)
        writeTransformChunk(w, transform);
    for (const ObjectLod& lod : object.lods)
        writeLodChunk(w, lod);
    for (const ObjectBox& box : object.boxes) {
        beginChunk(w, "BOX1");
        putInt32(w, box.valueA);
        putInt32(w, box.valueB);
        for (const Vec3F& corner : box.corners)
            putVector(w, corner);
        endChunk(w);
    }
    if (object.skeleton)
        writeSkeletonChunk(w, *object.skeleton);
    endChunk(w);
}

void writeCopyChunk(ChunkWriter& w, const ObjectCopy& copy) {
    beginChunk(w, "CPY1");
    beginChunk(w, "INFO");
    putFloats(w, copy.matrix.data(), 16);
    endChunk(w);
    putOptionalString(w, copy.name);
    endChunk(w);
}

void writeLightChunk(ChunkWriter& w, const ModelLight& light) {
    beginChunk(w, "LHT1");
    beginChunk(w, "INFO");
    putInt32(w, light.valueA);
    putBytes(w, light.bytes, 3);
    putInt32(w, light.valueB);
    putFloats(w, light.matrix.data(), 16);
    endChunk(w);
    putOptionalString(w, light.name);
    endChunk(w);
}

void writeCameraChunk(ChunkWriter& w, const ModelCamera& camera) {
    beginChunk(w, "CAM1");
    beginChunk(w, "INFO");
    putFloats(w, camera.matrix.data(), 16);
    putInt32(w, camera.value);
    endChunk(w);
    putOptionalString(w, camera.name);
    endChunk(w);
}

void writeGroundChunk(ChunkWriter& w, const GroundPlane& g) {
    beginChunk(w, "GND1");
    beginChunk(w, "INFO");
    for (int32_t value : {g.valueA, g.valueB, g.valueC, g.columns, g.rows, g.valueD,
                          countOf(g.materials.size()), g.valueE, g.valueF, g.valueG})
        putInt32(w, value);
    for (int32_t value : g.vertexInts)
        putInt32(w, value);
    putBytes(w, g.vertexBytes.data(), g.vertexBytes.size());
    for (const auto* cells : {&g.cellInts1, &g.cellInts2, &g.cellInts3})
        for (int32_t value : *cells)
            putInt32(w, value);
    putBytes(w, g.cellBytes.data(), g.cellBytes.size());
    endChunk(w);
    for (const Material& material : g.materials)
        writeMaterialChunk(w, material);
    endChunk(w);
}

void writeGlowChunk(ChunkWriter& w, const GlowSprite& glow) {
    beginChunk(w, "GLOW");
    beginChunk(w, "INFO");
    putVector(w, glow.vector);
    putInt32(w, glow.valueA);
    putInt32(w, glow.valueB);
    endChunk(w);
    writeMaterialChunk(w, glow.material);
    endChunk(w);
}

void writeHullChunk(ChunkWriter& w, const ConvexHull& hull) {
    beginChunk(w, "CHUL");
    beginChunk(w, "INFO");
    putInt32(w, countOf(hull.entries.size()));
    for (const HullEntry& entry : hull.entries) {
        putInt32(w, entry.indexA);
        putInt32(w, entry.indexB);
        putBytes(w, entry.bytes, 3);
    }
    endChunk(w);
    endChunk(w);
}

void writeModelChunk(ChunkWriter& w, const Model& model) {
    beginChunk(w, "ZQFF");
    beginChunk(w, "INFO");
    putInt32(w, model.headerA);
    putInt32(w, model.headerB);
    endChunk(w);
    for (const ModelObject& object : model.objects)
        writeObjectChunk(w, object);
    for (const ObjectCopy& copy : model.copies)
        writeCopyChunk(w, copy);
    for (const ModelLight& light : model.lights)
        writeLightChunk(w, light);
    for (const ModelCamera& camera : model.cameras)
        writeCameraChunk(w, camera);
    if (model.ground)
        writeGroundChunk(w, *model.ground);
    for (const GlowSprite& glow : model.glows)
        writeGlowChunk(w, glow);
    for (const ConvexHull& hull : model.hulls)
        writeHullChunk(w, hull);
    endChunk(w);
}

std::vector<uint8_t> buildModelFile(const Model& model) {
    ChunkWriter writer;
    writeModelChunk(writer, model);
    return finishChunks(writer);
}
