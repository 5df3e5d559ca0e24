/* Stands in for the Migemo library: exports its ten entry points, answers every query with a text of
   its own and counts the calls, so that tests see what is asked, with which object and in which
   order. A dictionary loads when its file can be opened; the object is enabled once the word
   dictionary has loaded. Built once more without "migemo_setproc_int2char". */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct MigemoObject {
  int enabled;
};

enum { kMaxLoads = 16, kMaxPath = 1024 };

static struct MigemoObject g_object;
static int g_isOpen;
static int g_failOpen;
static int g_opens, g_closes, g_queries, g_releases, g_others, g_foreign;
static int g_loads;
static int g_loadIds[kMaxLoads];
static char g_loadPaths[kMaxLoads][kMaxPath];

/* Forgets every count; with failOpen set, migemo_open answers null. */
void TestMigemoReset(int failOpen) {
  g_isOpen = 0;
  g_failOpen = failOpen;
  g_opens = g_closes = g_queries = g_releases = g_others = g_foreign = g_loads = 0;
  g_object.enabled = 0;
}

/* Calls of one kind: "open", "close", "query", "release", "load", "other" (the five entry points
   the program never calls), "foreign" (a call with an object that is not the open one). */
int TestMigemoCount(const char* what) {
  if (!strcmp(what, "open")) return g_opens;
  if (!strcmp(what, "close")) return g_closes;
  if (!strcmp(what, "query")) return g_queries;
  if (!strcmp(what, "release")) return g_releases;
  if (!strcmp(what, "load")) return g_loads;
  if (!strcmp(what, "other")) return g_others;
  if (!strcmp(what, "foreign")) return g_foreign;
  return -1;
}

int TestMigemoLoadId(int i) { return i >= 0 && i < g_loads && i < kMaxLoads ? g_loadIds[i] : -1; }
const char* TestMigemoLoadPath(int i) { return i >= 0 && i < g_loads && i < kMaxLoads ? g_loadPaths[i] : ""; }

static int IsOpenObject(struct MigemoObject* object) {
  if (object == &g_object && g_isOpen) return 1;
  ++g_foreign;
  return 0;
}

struct MigemoObject* migemo_open(const char* dictionary) {
  ++g_opens;
  if (dictionary) ++g_foreign;
  if (g_failOpen || g_isOpen) return NULL;
  g_isOpen = 1;
  g_object.enabled = 0;
  return &g_object;
}

void migemo_close(struct MigemoObject* object) {
  ++g_closes;
  if (IsOpenObject(object)) g_isOpen = 0;
}

unsigned char* migemo_query(struct MigemoObject* object, const unsigned char* query) {
  ++g_queries;
  if (!IsOpenObject(object) || !query) return NULL;
  const size_t length = strlen((const char*)query);
  unsigned char* text = malloc(length + 3);
  if (!text) return NULL;
  text[0] = '(';
  memcpy(text + 1, query, length);
  text[length + 1] = ')';
  text[length + 2] = '\0';
  return text;
}

void migemo_release(struct MigemoObject* object, unsigned char* text) {
  ++g_releases;
  IsOpenObject(object);
  free(text);
}

int migemo_load(struct MigemoObject* object, int id, const char* file) {
  if (g_loads < kMaxLoads) {
    g_loadIds[g_loads] = id;
    snprintf(g_loadPaths[g_loads], kMaxPath, "%s", file ? file : "");
  }
  ++g_loads;
  if (!IsOpenObject(object) || !file) return 0;
  FILE* f = fopen(file, "rb");
  if (!f) return 0;
  fclose(f);
  if (id == 1) object->enabled = 1;
  return id;
}

int migemo_is_enable(struct MigemoObject* object) { return IsOpenObject(object) && object->enabled; }

int migemo_set_operator(struct MigemoObject* object, int index, const unsigned char* op) {
  (void)object;
  (void)index;
  (void)op;
  ++g_others;
  return 0;
}

const unsigned char* migemo_get_operator(struct MigemoObject* object, int index) {
  (void)object;
  (void)index;
  ++g_others;
  return NULL;
}

void migemo_setproc_char2int(struct MigemoObject* object, int (*proc)(const unsigned char*, unsigned int*)) {
  (void)object;
  (void)proc;
  ++g_others;
}

#ifndef TEST_MIGEMO_WITHOUT_INT2CHAR
void migemo_setproc_int2char(struct MigemoObject* object, int (*proc)(unsigned int, unsigned char*)) {
  (void)object;
  (void)proc;
  ++g_others;
}
#endif
