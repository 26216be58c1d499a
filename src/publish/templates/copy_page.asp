<%@ Language="VBScript" CodePage="65001" %>
<%
Response.Buffer = True
Response.CharSet = "utf-8"
<globalarray>
<serverfunctions>
%>
<pagestart>
<%
On Error Resume Next
Dim InsertPerpage, TotalRecs, Scope, SQLserveradr, SQLdatabase, SQLlogin, SQLpassword
Dim conn, A, colour, reached, number, description
InsertPerpage = CLng(Request.QueryString("ip"))
TotalRecs = CLng(Request.QueryString("tr"))
Scope = CLng(Request.QueryString("sc"))
SQLserveradr = Request.QueryString("s")
SQLdatabase = Request.QueryString("d")
SQLlogin = Request.QueryString("u")
SQLpassword = Request.QueryString("p")
reached = InsertPerpage * Scope
If reached > TotalRecs Then reached = TotalRecs
Response.Write "Coping " & reached & " records of " & TotalRecs & " to mySQL server"
Response.Flush
<strings>
Set conn = Server.CreateObject("ADODB.Connection")
Err.Clear
conn.Open KaveroConnectText(SQLserveradr, SQLdatabase, SQLlogin, SQLpassword)
number = Err.Number
description = Err.Description
<kavero:session>%>
<table>
<tr><td class="bar" colspan="2">Publish result</td></tr>
<tr><td>Connecting to the mySQL server</td><td><%=KaveroResult(number, description)%></td></tr>
<%
colour = "#FFFFFF"
For A = 1 To UBound(StrArray)
  If StrArray(A) <> "" Then
    Err.Clear
    conn.Execute StrArray(A)
    KaveroResultRow colour, StrArray(A), Err.Number, Err.Description
    Response.Flush
  Else
    Response.Write "<tr style=""background-color: " & colour & """></tr>" & vbCrLf
  End If
  If colour = "#FFFFFF" Then colour = "#C0C0C0" Else colour = "#FFFFFF"
Next
conn.Close
%>
</table>
<script>window.location.replace('<%=nexpage%>');</script>
</body>
</html>
