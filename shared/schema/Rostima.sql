-- The Rostima database: the one source of its tables.
-- Counters never reuse an id; names compare and sort without case; the programs, not the
-- database, keep the relations between tables and their cascades.

CREATE TABLE tblGroups (
    GroupId    INTEGER PRIMARY KEY AUTOINCREMENT,
    GroupName  TEXT COLLATE NOCASE,
    DayStart   INTEGER,  -- minutes since midnight
    DayEnd     INTEGER,  -- minutes since midnight, up to 1440
    Interval   INTEGER   -- slot length in minutes
);

CREATE TABLE tblResources (
    ResourceId   INTEGER PRIMARY KEY AUTOINCREMENT,
    GroupId      INTEGER,
    ResourceName TEXT COLLATE NOCASE,
    MinTime      INTEGER,
    MaxTime      INTEGER,
    InitTime     INTEGER
);
CREATE INDEX idxResourcesGroup ON tblResources (GroupId);

CREATE TABLE tblTasks (
    TaskId   INTEGER PRIMARY KEY AUTOINCREMENT,
    GroupId  INTEGER,
    TaskName TEXT COLLATE NOCASE,
    Colour   INTEGER,  -- 0x00BBGGRR
    MinTime  INTEGER,
    MaxTime  INTEGER,
    InitTime INTEGER
);
CREATE INDEX idxTasksGroup ON tblTasks (GroupId);

CREATE TABLE tblCustomers (
    CustomerId   INTEGER PRIMARY KEY AUTOINCREMENT,
    CustomerName TEXT COLLATE NOCASE,
    Ref01        TEXT,
    Ref02        TEXT,
    Ref03        TEXT
);
CREATE INDEX idxCustomersName ON tblCustomers (CustomerName);

CREATE TABLE tblCustomerGroups (
    CustomerId INTEGER,
    GroupId    INTEGER
);
CREATE INDEX idxCustomerGroupsCustomer ON tblCustomerGroups (CustomerId, GroupId);
CREATE INDEX idxCustomerGroupsGroup ON tblCustomerGroups (GroupId, CustomerId);

CREATE TABLE tblBookings (
    BookingId    INTEGER PRIMARY KEY AUTOINCREMENT,
    TaskId       INTEGER,
    BookingDate  INTEGER,  -- days since 1 January 1900
    BookingStart INTEGER,  -- minutes since midnight; the booking is [start, end)
    BookingEnd   INTEGER,
    CustomerId   INTEGER,  -- 0 = no customer
    ResourceId   INTEGER,
    RepeatId     INTEGER DEFAULT 0,  -- 0 = single booking
    Ref01        TEXT,
    Ref02        TEXT,
    Ref03        TEXT,
    Comments     TEXT
);
CREATE INDEX idxBookingsResourceDate ON tblBookings (ResourceId, BookingDate, BookingStart);
CREATE INDEX idxBookingsRepeat ON tblBookings (RepeatId);
CREATE INDEX idxBookingsTask ON tblBookings (TaskId);
CREATE INDEX idxBookingsCustomer ON tblBookings (CustomerId);

CREATE TABLE tblRepeats (
    RepeatId INTEGER PRIMARY KEY AUTOINCREMENT,
    SerialNo TEXT  -- the workstation key in decimal
);

CREATE TABLE tblMenu (
    MenuId   INTEGER,
    MenuDesc TEXT COLLATE NOCASE,
    MenuType INTEGER
);
CREATE INDEX idxMenuType ON tblMenu (MenuType);

-- Named text values of the database itself.
CREATE TABLE tblProperties (
    Name  TEXT PRIMARY KEY COLLATE NOCASE,
    Value TEXT
);

-- The change stamp: every change of the bookings, the groups, the resources and the
-- appointment types moves it on, so one look tells a workstation that another changed
-- what it shows. The sequence number tells apart changes made within one second.
CREATE TABLE tblChangeStamp (
    Id       INTEGER PRIMARY KEY CHECK (Id = 1),
    Seq      INTEGER NOT NULL,
    Modified TEXT NOT NULL
);
INSERT INTO tblChangeStamp (Id, Seq, Modified) VALUES (1, 0, datetime('now', 'localtime'));

-- "IF NOT EXISTS": opening a file made before a trigger was added runs them again.
CREATE TRIGGER IF NOT EXISTS trgBookingsInsert AFTER INSERT ON tblBookings BEGIN
    UPDATE tblChangeStamp SET Seq = Seq + 1, Modified = datetime('now', 'localtime') WHERE Id = 1;
END;
CREATE TRIGGER IF NOT EXISTS trgBookingsUpdate AFTER UPDATE ON tblBookings BEGIN
    UPDATE tblChangeStamp SET Seq = Seq + 1, Modified = datetime('now', 'localtime') WHERE Id = 1;
END;
CREATE TRIGGER IF NOT EXISTS trgBookingsDelete AFTER DELETE ON tblBookings BEGIN
    UPDATE tblChangeStamp SET Seq = Seq + 1, Modified = datetime('now', 'localtime') WHERE Id = 1;
END;
CREATE TRIGGER IF NOT EXISTS trgGroupsInsert AFTER INSERT ON tblGroups BEGIN
    UPDATE tblChangeStamp SET Seq = Seq + 1, Modified = datetime('now', 'localtime') WHERE Id = 1;
END;
CREATE TRIGGER IF NOT EXISTS trgGroupsUpdate AFTER UPDATE ON tblGroups BEGIN
    UPDATE tblChangeStamp SET Seq = Seq + 1, Modified = datetime('now', 'localtime') WHERE Id = 1;
END;
CREATE TRIGGER IF NOT EXISTS trgGroupsDelete AFTER DELETE ON tblGroups BEGIN
    UPDATE tblChangeStamp SET Seq = Seq + 1, Modified = datetime('now', 'localtime') WHERE Id = 1;
END;
CREATE TRIGGER IF NOT EXISTS trgResourcesInsert AFTER INSERT ON tblResources BEGIN
    UPDATE tblChangeStamp SET Seq = Seq + 1, Modified = datetime('now', 'localtime') WHERE Id = 1;
END;
CREATE TRIGGER IF NOT EXISTS trgResourcesUpdate AFTER UPDATE ON tblResources BEGIN
    UPDATE tblChangeStamp SET Seq = Seq + 1, Modified = datetime('now', 'localtime') WHERE Id = 1;
END;
CREATE TRIGGER IF NOT EXISTS trgResourcesDelete AFTER DELETE ON tblResources BEGIN
    UPDATE tblChangeStamp SET Seq = Seq + 1, Modified = datetime('now', 'localtime') WHERE Id = 1;
END;
CREATE TRIGGER IF NOT EXISTS trgTasksInsert AFTER INSERT ON tblTasks BEGIN
    UPDATE tblChangeStamp SET Seq = Seq + 1, Modified = datetime('now', 'localtime') WHERE Id = 1;
END;
CREATE TRIGGER IF NOT EXISTS trgTasksUpdate AFTER UPDATE ON tblTasks BEGIN
    UPDATE tblChangeStamp SET Seq = Seq + 1, Modified = datetime('now', 'localtime') WHERE Id = 1;
END;
CREATE TRIGGER IF NOT EXISTS trgTasksDelete AFTER DELETE ON tblTasks BEGIN
    UPDATE tblChangeStamp SET Seq = Seq + 1, Modified = datetime('now', 'localtime') WHERE Id = 1;
END;
