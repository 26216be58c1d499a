DROP TABLE IF EXISTS `Designation`
CREATE TABLE `Designation`(`ID` DOUBLE auto_increment NOT NULL, `Designation Name` VARCHAR(255) NULL, `Account Code` BIGINT NOT NULL DEFAULT 0, `Description` VARCHAR(255) NULL, PRIMARY KEY (`ID`))
CREATE INDEX `Account Code` ON `Designation` (`Account Code`)
CREATE INDEX `ID` ON `Designation` (`ID`)
