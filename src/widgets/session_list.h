#pragma once

class PointList;
class Session;
enum class ListSide;

// Shows one list of the session in a point list: the entries where the session keeps them,
// redrawn as it tells of each change, and the selection kept the same both ways. The
// session must outlive the list's use of it.
void showSessionList(PointList *list, Session &session, ListSide side);
